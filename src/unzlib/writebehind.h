#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace unz {

// Hands a file's data to a thread of its own, which writes them while the
// next data unpack: the system's copy into its cache then costs the
// unpacking nothing. The chunks change hands, not bytes: write() takes the
// caller's vector and gives back one already written. A few chunks wait at
// most; write() waits for room. The thread starts with a file's second
// chunk; without a thread to spare, every chunk is written at once.
class WriteBehind {
public:
    using Chunk = std::vector<unsigned char>;
    using Writer = std::function<bool(const unsigned char *data, std::size_t size)>;
    explicit WriteBehind(Writer writer);
    ~WriteBehind() { finish(); }
    WriteBehind(const WriteBehind &) = delete;
    WriteBehind &operator=(const WriteBehind &) = delete;

    // Writes the first `size` bytes of `chunk`, whose contents are then
    // undefined; false once any write has failed.
    bool write(Chunk &chunk, std::size_t size);
    // Returns when every chunk is written; true when all writes succeeded.
    bool finish();

private:
    struct Queued {
        Chunk bytes;
        std::size_t size;
    };
    void run();

    Writer writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Queued> queued_;
    std::vector<Chunk> spare_; // written chunks, kept for their memory
    bool failed_ = false;
    bool finishing_ = false;
    bool firstWritten_ = false;
    bool threadTried_ = false;
    std::thread thread_;
};

} // namespace unz
