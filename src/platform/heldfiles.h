#pragma once

#include <QStringList>
#include <vector>

namespace platform {

// Existing files held open while something may replace them, and let go
// of on a thread of their own. The last reference to a replaced file gives
// its space back to the file system, which for a large file takes longer
// than writing a small one; holding the file moves that wait off the
// caller. Only where an open file does not stand in the way of its
// replacement (POSIX); elsewhere nothing is held.
class HeldFiles {
public:
    explicit HeldFiles(const QStringList &paths); // those that exist
    ~HeldFiles();
    HeldFiles(const HeldFiles &) = delete;
    HeldFiles &operator=(const HeldFiles &) = delete;

private:
    std::vector<int> held_;
};

} // namespace platform
