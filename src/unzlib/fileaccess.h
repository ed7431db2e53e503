#pragma once

// The library's only contact with the file system, implemented once for
// POSIX and once for Win32. Paths are UTF-8 and use "/" between folders
// (Windows also takes "\").
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace unz {

class File {
public:
    File() = default;
    ~File() { close(); }
    File(File &&other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
    File &operator=(File &&other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = kClosed;
        }
        return *this;
    }
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    // A regular file, for positioned reads only.
    static File openForReading(const std::string &path);
    // A new file named prefix plus six random characters (path receives the
    // name), with the permissions of `like` when that exists, else those of
    // any new file. While it is open, removeUnlessInUse() leaves it alone.
    static File createUnique(const std::string &prefix, const std::string &like, std::string &path);
    // The file now at path, held so that whatever replaces it there leaves
    // its data to be freed at this handle's close. Neither follows a link
    // nor opens a device; empty where the system offers no such handle.
    static File holdExisting(const std::string &path);

    bool isOpen() const { return handle_ != kClosed; }
    // -1 when unknown.
    std::int64_t size() const;
    // Exactly size bytes at offset, or false.
    bool readAt(std::int64_t offset, void *buffer, std::size_t size) const;
    bool write(const void *data, std::size_t size);
    // Everything written so far is on the disk.
    bool flush();
    // Starts putting those bytes on the disk without waiting for them, so
    // that the flush after a long write finds little left to do. Only a
    // hint: it may do nothing, and it never stands in for flush().
    void startFlush(std::int64_t offset, std::int64_t size);
    bool setModificationTime(std::int64_t secondsSinceEpoch);
    // False when the file was not open or a delayed write failed.
    bool close();

private:
    static constexpr std::intptr_t kClosed = -1; // also Win32's INVALID_HANDLE_VALUE
    explicit File(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = kClosed;
};

struct PathInfo {
    bool exists = false;
    bool isDirectory = false;
    std::int64_t modificationTime = 0; // seconds since the epoch
};
PathInfo pathInfo(const std::string &path);

// The folder part of a "/" separated path: "." for a bare name.
inline std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Puts `from` in the place of `to` in one step, replacing what is there,
// and returns only when the change is on the disk.
bool replaceFile(const std::string &from, const std::string &to);
bool removeFile(const std::string &path);
// Removes a file unless an open temporary of a running extraction holds it
// (in this process or another).
bool removeUnlessInUse(const std::string &path);
// True when a folder is at path afterwards, made now or before.
bool ensureDirectory(const std::string &path);
// Bytes this user may still write in the folder's file system; -1 when unknown.
std::int64_t freeSpace(const std::string &folder);
// Names of the entries of a folder, without "." and "..".
std::vector<std::string> folderEntries(const std::string &folder);
// False for one part of a path that the file system reads as more than a
// name: on Windows a device (CON, NUL, COM1, "aux.txt"…) or a colon, which
// names a drive or a stream of another file.
bool isPlainName(std::string_view name);

} // namespace unz
