#include "unzlib/targetfile.h"

#include "zipformat/crc32.h"

#include <ctime>
#include <utility>
#include <vector>

namespace unz {
namespace {

std::vector<std::string_view> pathParts(std::string_view name)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            if (i > start)
                parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// Our temporary files: this prefix and six random characters.
constexpr std::string_view kTemporaryPrefix = ".unzlib-";
constexpr std::size_t kRandomLength = 6;

constexpr std::int64_t kFlushStep = std::int64_t(4) << 20;
constexpr std::int64_t kEarlyFlushStep = std::int64_t(16) << 20;

bool hasDriveLetter(std::string_view name)
{
    return name.size() >= 2 && name[1] == ':';
}

} // namespace

NameCheck relativeTarget(std::string_view name, bool keepFolders, std::string &relative)
{
    relative.clear();
    if (name.find('\0') != std::string_view::npos)
        return NameCheck::Unsafe;
    const bool drive = hasDriveLetter(name);
    if (drive)
        name.remove_prefix(2);
    const bool absolute = drive || (!name.empty() && (name[0] == '/' || name[0] == '\\'));
    const auto parts = pathParts(name);
    const bool directoryOnly = name.empty() || name.back() == '/' || name.back() == '\\';
    if (!keepFolders) {
        if (directoryOnly || parts.empty())
            return NameCheck::DirectoryOnly;
        if (parts.back() == "." || parts.back() == ".." || !isPlainName(parts.back()))
            return NameCheck::Unsafe;
        relative = parts.back();
        return NameCheck::Ok;
    }
    if (absolute)
        return NameCheck::Unsafe;
    for (std::string_view part : parts) {
        if (part == ".." || !isPlainName(part))
            return NameCheck::Unsafe;
        if (part == ".")
            continue;
        if (!relative.empty())
            relative += '/';
        relative += part;
    }
    if (relative.empty() && !directoryOnly)
        return NameCheck::Unsafe;
    return directoryOnly ? NameCheck::DirectoryOnly : NameCheck::Ok;
}

bool makeDirectories(const std::string &path, bool includingLast)
{
    const std::size_t end = includingLast ? path.size() : path.rfind('/');
    if (end == std::string::npos || end == 0)
        return true;
    for (std::size_t i = 1; i <= end; ++i) {
        if ((i == end || path[i] == '/') && !ensureDirectory(path.substr(0, i)))
            return false;
    }
    return true;
}

std::int64_t dosTimeToUnix(std::uint32_t dosDateTime)
{
    std::tm tm{};
    tm.tm_year = int((dosDateTime >> 25) & 0x7F) + 80;
    tm.tm_mon = int((dosDateTime >> 21) & 0x0F) - 1;
    tm.tm_mday = int((dosDateTime >> 16) & 0x1F);
    tm.tm_hour = int((dosDateTime >> 11) & 0x1F);
    tm.tm_min = int((dosDateTime >> 5) & 0x3F);
    tm.tm_sec = int(dosDateTime & 0x1F) * 2;
    tm.tm_isdst = -1;
    return std::int64_t(std::mktime(&tm));
}

void removeStrayTemporaries(const std::string &folder)
{
    for (const std::string &name : folderEntries(folder)) {
        if (name.size() == kTemporaryPrefix.size() + kRandomLength &&
            name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) == 0)
            removeUnlessInUse(folder + "/" + name);
    }
}

PendingFile::PendingFile(const std::string &target)
    : target_(target),
      writeBehind_([this](const unsigned char *data, std::size_t size) { return writeNow(data, size); })
{
    file_ = File::createUnique(folderOf(target) + "/" + std::string(kTemporaryPrefix), target, temporary_);
}

PendingFile::~PendingFile()
{
    writeBehind_.finish();
    earlyFlush_.wait();
    if (file_.isOpen()) {
        file_.close();
        removeFile(temporary_);
    }
}

bool PendingFile::writeNow(const unsigned char *data, std::size_t size)
{
    crc_ = zipformat::crc32(crc_, data, size);
    if (!file_.write(data, size))
        return false;
    // The disk takes what is written while the rest unpacks, instead of all
    // of it at the flush in commit().
    written_ += std::int64_t(size);
    if (written_ - flushStarted_ >= kFlushStep) {
        file_.startFlush(flushStarted_, written_ - flushStarted_);
        flushStarted_ = written_;
    }
    if (written_ - earlyFlushed_ >= kEarlyFlushStep) {
        earlyFlush_.start(file_);
        earlyFlushed_ = written_;
    }
    return true;
}

bool PendingFile::commit(std::int64_t modificationTime, BackgroundCloser &closer)
{
    const bool handedOver = finishWriting();
    earlyFlush_.wait();
    file_.setModificationTime(modificationTime);
    const bool written = handedOver && file_.flush() && !earlyFlush_.failed();
    File replaced = File::holdExisting(target_);
    if (file_.close() && written && replaceFile(temporary_, target_)) {
        closer.close(std::move(replaced));
        return true;
    }
    removeFile(temporary_);
    return false;
}

} // namespace unz
