#include "unzlib/fileaccess.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <random>

namespace unz {
namespace {

// Seconds between 1601-01-01, where FILETIME counts from, and 1970-01-01.
constexpr std::int64_t kEpochDifference = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10000000;

HANDLE win(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// UTF-8 to the wide characters every Win32 call below takes; empty (which
// no call accepts) when the bytes are not UTF-8.
std::wstring widePath(const std::string &path)
{
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(length, 0)), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), wide.data(), length);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::int64_t toUnixTime(const FILETIME &time)
{
    const std::int64_t ticks = (std::int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return ticks / kTicksPerSecond - kEpochDifference;
}

FILETIME toFileTime(std::int64_t secondsSinceEpoch)
{
    const auto ticks = std::uint64_t((secondsSinceEpoch + kEpochDifference) * kTicksPerSecond);
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

std::string randomSuffix()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, ' ');
    for (char &c : suffix)
        c = kLetters[pick(generator)];
    return suffix;
}

} // namespace

File File::openForReading(const std::string &path)
{
    // Others may go on reading, writing and even deleting it, as on POSIX.
    const HANDLE file =
        CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return File();
    }
    return File(reinterpret_cast<std::intptr_t>(file));
}

File File::createUnique(const std::string &prefix, const std::string &, std::string &path)
{
    // New files take the folder's access rules; there is no mode to copy.
    // Deletion is not shared: another run's sweep cannot remove a file that
    // this run is still writing.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix + randomSuffix();
        const HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return File(reinterpret_cast<std::intptr_t>(file));
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return File();
}

File File::holdExisting(const std::string &)
{
    return File(); // an open handle would keep the move from replacing the file
}

std::int64_t File::size() const
{
    LARGE_INTEGER size{};
    return isOpen() && GetFileSizeEx(win(handle_), &size) ? std::int64_t(size.QuadPart) : -1;
}

bool File::readAt(std::int64_t offset, void *buffer, std::size_t size) const
{
    auto *out = static_cast<char *>(buffer);
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(std::uint64_t(offset) >> 32);
        DWORD got = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(size, 1u << 30));
        if (!ReadFile(win(handle_), out, wanted, &got, &at) || got == 0)
            return false;
        out += got;
        offset += got;
        size -= got;
    }
    return true;
}

bool File::write(const void *data, std::size_t size)
{
    const auto *in = static_cast<const char *>(data);
    while (size > 0) {
        DWORD done = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(size, 1u << 30));
        if (!WriteFile(win(handle_), in, wanted, &done, nullptr) || done == 0)
            return false;
        in += done;
        size -= done;
    }
    return true;
}

void File::startFlush(std::int64_t, std::int64_t) {}

bool File::flush()
{
    return FlushFileBuffers(win(handle_));
}

bool File::setModificationTime(std::int64_t secondsSinceEpoch)
{
    const FILETIME time = toFileTime(secondsSinceEpoch);
    return SetFileTime(win(handle_), nullptr, &time, &time);
}

bool File::close()
{
    if (!isOpen())
        return false;
    const bool closed = CloseHandle(win(handle_));
    handle_ = kClosed;
    return closed;
}

PathInfo pathInfo(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {true, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, toUnixTime(data.ftLastWriteTime)};
}

bool replaceFile(const std::string &from, const std::string &to)
{
    // Write-through: the call returns once the move is on the disk.
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool removeFile(const std::string &path)
{
    return DeleteFileW(widePath(path).c_str());
}

bool removeUnlessInUse(const std::string &path)
{
    return removeFile(path); // fails on a temporary still open: it shares no deletion
}

bool ensureDirectory(const std::string &path)
{
    return CreateDirectoryW(widePath(path).c_str(), nullptr) || pathInfo(path).isDirectory;
}

std::int64_t freeSpace(const std::string &folder)
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(widePath(folder).c_str(), &available, nullptr, nullptr))
        return -1;
    return std::int64_t(available.QuadPart);
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((widePath(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring wide = found.cFileName;
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string name(std::size_t(std::max(length, 0)), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), name.data(), length, nullptr, nullptr);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool isPlainName(std::string_view name)
{
    if (name.find(':') != std::string_view::npos)
        return false;
    // A device name stays one with any extension and with trailing spaces.
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (char &c : stem)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return false;
    const bool numbered = stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9';
    return !(numbered && (stem.starts_with("COM") || stem.starts_with("LPT")));
}

} // namespace unz
