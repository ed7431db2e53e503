#pragma once

#include "unzlib/fileaccess.h"

#include <atomic>
#include <thread>

namespace unz {

// Flushes a file on a thread of its own while it is still being written.
// Where the disk keeps what it is given in a cache of its own (a virtual
// disk does), only a flush makes it write that cache out, and one flush at
// the end of a large file waits for all of it; flushes along the way let
// that happen while the rest unpacks. Never stands in for the last flush.
class EarlyFlush {
public:
    EarlyFlush() = default;
    ~EarlyFlush() { wait(); }
    EarlyFlush(const EarlyFlush &) = delete;
    EarlyFlush &operator=(const EarlyFlush &) = delete;

    // Starts flushing the file unless an earlier flush still runs.
    void start(File &file);
    // Returns once no flush runs.
    void wait();
    // A flush failed: the system may not report that error again, so the
    // file must not be taken as written.
    bool failed() const { return failed_; }

private:
    std::thread thread_;
    std::atomic<bool> running_ = false;
    std::atomic<bool> failed_ = false;
};

} // namespace unz
