#pragma once

#include "unzlib/fileaccess.h"

#include <thread>

namespace unz {

// Closes files on a thread of its own. The last close of a replaced file
// gives its space back to the file system, which for a large file takes
// longer than writing a small one. One close runs at a time; all are done
// when this object goes.
class BackgroundCloser {
public:
    BackgroundCloser() = default;
    ~BackgroundCloser() { wait(); }
    BackgroundCloser(const BackgroundCloser &) = delete;
    BackgroundCloser &operator=(const BackgroundCloser &) = delete;

    void close(File file);

private:
    void wait();

    std::thread thread_;
};

} // namespace unz
