#include "unzlib/fileaccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace unz {
namespace {

int fd(std::intptr_t handle)
{
    return int(handle);
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

File File::openForReading(const std::string &path)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (file >= 0 && (::fstat(file, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(file);
        return File();
    }
    return File(file);
}

File File::createUnique(const std::string &prefix, const std::string &like, std::string &path)
{
    path = prefix + "XXXXXX";
    const int file = ::mkstemp(path.data());
    if (file < 0)
        return File();
    // Held while the file is open: another run's sweep leaves it alone.
    ::flock(file, LOCK_EX | LOCK_NB);
    struct stat st {};
    ::fchmod(file, ::stat(like.c_str(), &st) == 0 ? (st.st_mode & 07777) : newFileMode());
    return File(file);
}

File File::holdExisting(const std::string &path)
{
#ifdef O_PATH
    return File(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
#else
    (void)path;
    return File();
#endif
}

std::int64_t File::size() const
{
    struct stat st {};
    return isOpen() && ::fstat(fd(handle_), &st) == 0 ? std::int64_t(st.st_size) : -1;
}

bool File::readAt(std::int64_t offset, void *buffer, std::size_t size) const
{
    auto *out = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t got = ::pread(fd(handle_), out, size, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += got;
        size -= std::size_t(got);
    }
    return true;
}

bool File::write(const void *data, std::size_t size)
{
    const auto *in = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd(handle_), in, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        in += done;
        size -= std::size_t(done);
    }
    return true;
}

bool File::flush()
{
    return ::fsync(fd(handle_)) == 0;
}

void File::startFlush(std::int64_t offset, std::int64_t size)
{
#ifdef __linux__
    ::sync_file_range(fd(handle_), off_t(offset), off_t(size), SYNC_FILE_RANGE_WRITE);
#else
    (void)offset;
    (void)size;
#endif
}

bool File::setModificationTime(std::int64_t secondsSinceEpoch)
{
    const timespec times[2] = {{time_t(secondsSinceEpoch), 0}, {time_t(secondsSinceEpoch), 0}};
    return ::futimens(fd(handle_), times) == 0;
}

bool File::close()
{
    if (!isOpen())
        return false;
    const bool closed = ::close(fd(handle_)) == 0;
    handle_ = kClosed;
    return closed;
}

PathInfo pathInfo(const std::string &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, S_ISDIR(st.st_mode), std::int64_t(st.st_mtime)};
}

bool replaceFile(const std::string &from, const std::string &to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // The rename itself lives in the folder: flush it too. Some file
    // systems refuse to flush a folder; the rename stands all the same.
    const int folder = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool removeFile(const std::string &path)
{
    return ::unlink(path.c_str()) == 0;
}

bool removeUnlessInUse(const std::string &path)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (file < 0)
        return false;
    const bool unused = ::flock(file, LOCK_EX | LOCK_NB) == 0;
    const bool removed = unused && ::unlink(path.c_str()) == 0;
    ::close(file);
    return removed;
}

bool ensureDirectory(const std::string &path)
{
    return ::mkdir(path.c_str(), 0777) == 0 || pathInfo(path).isDirectory;
}

std::int64_t freeSpace(const std::string &folder)
{
    struct statvfs st {};
    if (::statvfs(folder.c_str(), &st) != 0)
        return -1;
    return std::int64_t(st.f_bavail) * std::int64_t(st.f_frsize);
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool isPlainName(std::string_view)
{
    return true;
}

} // namespace unz
