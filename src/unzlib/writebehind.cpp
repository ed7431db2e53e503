#include "unzlib/writebehind.h"

#include <system_error>
#include <utility>

namespace unz {

namespace {
// Chunks queued at most: enough to ride over one slow write.
constexpr std::size_t kQueued = 3;
} // namespace

WriteBehind::WriteBehind(Writer writer) : writer_(std::move(writer)) {}

bool WriteBehind::write(Chunk &chunk, std::size_t size)
{
    // The first chunk is written here: a file of one chunk needs no thread.
    if (firstWritten_ && !threadTried_) {
        threadTried_ = true;
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error &) {
            // No thread to spare: every chunk is written here.
        }
    }
    firstWritten_ = true;
    if (!thread_.joinable()) {
        failed_ = failed_ || !writer_(chunk.data(), size);
        return !failed_;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_.size() < kQueued || failed_; });
    if (failed_)
        return false;
    queued_.push_back({std::move(chunk), size});
    chunk.clear();
    if (!spare_.empty()) {
        chunk.swap(spare_.back());
        spare_.pop_back();
    }
    changed_.notify_all();
    return true;
}

bool WriteBehind::finish()
{
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            finishing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    return !failed_;
}

void WriteBehind::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queued_.empty() || finishing_; });
        if (queued_.empty())
            return;
        Queued chunk = std::move(queued_.front());
        queued_.pop_front();
        const bool skip = failed_; // after a failure the rest is dropped
        lock.unlock();
        const bool written = skip || writer_(chunk.bytes.data(), chunk.size);
        lock.lock();
        failed_ = failed_ || !written;
        spare_.push_back(std::move(chunk.bytes));
        changed_.notify_all();
    }
}

} // namespace unz
