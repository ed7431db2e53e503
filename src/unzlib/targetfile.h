#pragma once

#include "unzlib/backgroundcloser.h"
#include "unzlib/earlyflush.h"
#include "unzlib/fileaccess.h"
#include "unzlib/writebehind.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace unz {

enum class NameCheck { Ok, Unsafe, DirectoryOnly };

// The member's path below the target directory, "/" separated. With folder
// names off only the base name is kept; with them on a name that is absolute
// or climbs out with ".." is unsafe, and so is any part that the file system
// would not take as a plain name. A name holding NUL always is.
NameCheck relativeTarget(std::string_view name, bool keepFolders, std::string &relative);

// Creates the missing folders of a path (not its last part when it is a file).
bool makeDirectories(const std::string &path, bool includingLast);

// MS-DOS date and time (local) as seconds since the epoch.
std::int64_t dosTimeToUnix(std::uint32_t dosDateTime);

// Removes the temporary files a killed run of this library left in a folder,
// and only those: a running extraction's own temporaries stay.
void removeStrayTemporaries(const std::string &folder);

// New contents for a target, written to a temporary file beside it and put
// in its place only by commit(); dropped otherwise. The temporary name is
// short, so a target of the longest name a file system takes still works.
class PendingFile {
public:
    explicit PendingFile(const std::string &target);
    ~PendingFile();
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    bool isOpen() const { return file_.isOpen(); }
    // Takes the chunk's storage (see WriteBehind::write).
    bool write(WriteBehind::Chunk &chunk, std::size_t size) { return writeBehind_.write(chunk, size); }
    // Returns once every write has reached the file; false when one failed.
    bool finishWriting() { return writeBehind_.finish(); }
    // Of the bytes written, computed on the thread that writes them so that
    // the unpacking does not wait for it; valid after finishWriting().
    std::uint32_t crc() const { return crc_; }
    // Gives the file its time stamp, puts it on the disk and moves it over
    // the target; the file it replaces is closed by `closer`.
    bool commit(std::int64_t modificationTime, BackgroundCloser &closer);

private:
    bool writeNow(const unsigned char *data, std::size_t size);

    std::string target_;
    std::string temporary_;
    File file_;
    std::int64_t written_ = 0;
    std::uint32_t crc_ = 0;
    std::int64_t flushStarted_ = 0; // bytes already on their way to the disk
    std::int64_t earlyFlushed_ = 0; // bytes when the last early flush started
    EarlyFlush earlyFlush_;         // after file_: stops before it goes
    WriteBehind writeBehind_;       // last: its writes stop before the rest goes
};

} // namespace unz
