#include "unzlib/backgroundcloser.h"

#include <system_error>
#include <utility>

namespace unz {

void BackgroundCloser::close(File file)
{
    if (!file.isOpen())
        return;
    wait();
    try {
        thread_ = std::thread([held = std::move(file)]() mutable { held.close(); });
    } catch (const std::system_error &) {
        // No thread to spare: the file closed here as the attempt unwound.
    }
}

void BackgroundCloser::wait()
{
    if (thread_.joinable())
        thread_.join();
}

} // namespace unz
