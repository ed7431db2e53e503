#include "platform/heldfiles.h"

#include <QFile>
#include <system_error>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

HeldFiles::HeldFiles(const QStringList &paths)
{
#if defined(Q_OS_UNIX) && defined(O_PATH)
    // A path handle holds the file without reading or locking it.
    for (const QString &path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            held_.push_back(fd);
    }
#else
    Q_UNUSED(paths);
#endif
}

HeldFiles::~HeldFiles()
{
#ifdef Q_OS_UNIX
    const auto release = [](const std::vector<int> &files) {
        for (const int fd : files)
            ::close(fd);
    };
    if (held_.empty())
        return;
    try {
        // Detached: nothing waits for it, and at exit the system finishes it.
        std::thread(release, held_).detach();
    } catch (const std::system_error &) {
        release(held_); // no thread to spare: the wait is the caller's
    }
#endif
}

} // namespace platform
