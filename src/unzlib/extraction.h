#pragma once

#include "unzlib/archivefile.h"
#include "unzlib/backgroundcloser.h"
#include "unzlib/unzlib.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace unz {

// One run of UnzLibExec: selects the members, asks the caller through the
// call-back where the record says so, and writes or tests each member.
class Extraction {
public:
    explicit Extraction(const UnzipParams &params);
    std::int32_t run();

private:
    struct Reply {
        std::int32_t action = 0;
        std::int32_t error = 0;
        std::int32_t size = 0;
        std::string text;
    };
    Reply call(std::int32_t action, std::int32_t error, std::int32_t size, std::string_view text, int memberIndex = 0);
    void message(std::int32_t error, const std::string &text);
    void skipped(const std::string &name, int reason, std::int32_t error, const std::string &why);

    bool selected(const Member &member) const;
    bool processMember(const ArchiveFile &archive, const Directory &directory, int index);
    bool mayReplace(const Member &member, int index, const std::string &target, const std::string &name);
    bool findPassword(class MemberUnpacker &unpacker, const std::string &name, std::string &password);
    bool opens(MemberUnpacker &unpacker, const std::string &text, std::string &password) const;
    std::string targetPath(const std::string &relative) const;

    const UnzipParams &params_;
    BackgroundCloser closer_; // replaced files: all closed before the library call returns
    bool aborted_ = false;
    bool passwordsCancelled_ = false;
    std::set<std::string> sweptFolders_; // stray temporary files removed there
    std::string password_;               // UTF-8: the last password that opened a member, else the caller's
};

} // namespace unz
