#include "unzlib/earlyflush.h"

#include <system_error>

namespace unz {

void EarlyFlush::start(File &file)
{
    if (running_)
        return;
    wait();
    running_ = true;
    try {
        thread_ = std::thread([this, &file] {
            if (!file.flush())
                failed_ = true;
            running_ = false;
        });
    } catch (const std::system_error &) {
        running_ = false; // no thread to spare: the last flush does it all
    }
}

void EarlyFlush::wait()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace unz
