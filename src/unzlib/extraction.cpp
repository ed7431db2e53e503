#include "unzlib/extraction.h"

#include "unzlib/memberdata.h"
#include "unzlib/targetfile.h"
#include "zipformat/zipformat.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace unz {

namespace {

bool flag(std::int32_t value)
{
    return value != 0;
}

std::string baseName(const std::string &name)
{
    const std::size_t cut = name.find_last_of("/\\");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

} // namespace

Extraction::Extraction(const UnzipParams &params) : params_(params), password_(params.password ? params.password : "")
{}

Extraction::Reply Extraction::call(std::int32_t action, std::int32_t error, std::int32_t size, std::string_view text,
                                   int memberIndex)
{
    Reply reply{action, error, size, std::string(text)};
    if (!params_.callback)
        return reply;
    CallbackRecord record{};
    record.recordSize = sizeof record;
    record.caller = params_.caller;
    record.memberIndex = memberIndex;
    record.actionCode = action;
    record.errorCode = error;
    record.size = size;
    const std::string_view fitting = zipformat::fittingPrefix(text, sizeof record.text - 1);
    if (!fitting.empty())
        std::memcpy(record.text, fitting.data(), fitting.size());
    if (params_.callback(&record) != 0)
        aborted_ = true;
    reply.action = record.actionCode;
    reply.error = record.errorCode;
    reply.size = record.size;
    reply.text.assign(record.text, strnlen(record.text, sizeof record.text));
    return reply;
}

void Extraction::message(std::int32_t error, const std::string &text)
{
    call(UNZ_CB_MESSAGE, error, 0, text);
}

void Extraction::skipped(const std::string &name, int reason, std::int32_t error, const std::string &why)
{
    if (error != 0)
        message(error, name + ": " + why);
    call(UNZ_CB_SKIPPED, error, reason + 1, name);
}

bool Extraction::selected(const Member &member) const
{
    if (params_.fileSpecCount <= 0 || !params_.fileSpecs)
        return true;
    std::string name = member.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    for (std::int32_t i = 0; i < params_.fileSpecCount; ++i) {
        const char *spec = params_.fileSpecs[i].fileSpec;
        if (!spec)
            continue;
        std::string pattern = spec;
        std::replace(pattern.begin(), pattern.end(), '\\', '/');
        // A specification without a folder matches the base name.
        const bool whole = pattern.find('/') != std::string::npos;
        if (zipformat::wildcardMatch(pattern, whole ? name : baseName(name)))
            return true;
    }
    return false;
}

std::string Extraction::targetPath(const std::string &relative) const
{
    std::string directory = params_.extractDirectory ? params_.extractDirectory : "";
    std::replace(directory.begin(), directory.end(), '\\', '/');
    if (directory.empty())
        return relative;
    if (directory.back() != '/')
        directory += '/';
    return directory + relative;
}

std::int32_t Extraction::run()
{
    ArchiveFile archive(params_.archiveName ? params_.archiveName : "");
    if (!archive.isOpen()) {
        message(UNZ_ERR_OPEN,
                std::string("cannot open the archive ") + (params_.archiveName ? params_.archiveName : ""));
        return -1;
    }
    Directory directory;
    std::string error;
    if (!readDirectory(archive, directory, error)) {
        message(UNZ_ERR_FORMAT, error);
        return -1;
    }
    std::int32_t files = 0;
    std::uint32_t bytes = 0;
    for (const Member &m : directory.members) {
        if (!m.isDirectory() && selected(m)) {
            ++files;
            bytes += m.uncompressedSize;
        }
    }
    call(UNZ_CB_TOTAL_FILES, 0, files, {});
    call(UNZ_CB_TOTAL_SIZE, 0, std::int32_t(bytes), {});
    std::int32_t processed = 0;
    for (int i = 0; i < int(directory.members.size()) && !aborted_; ++i) {
        if (selected(directory.members[std::size_t(i)]) && processMember(archive, directory, i))
            ++processed;
    }
    if (aborted_)
        message(UNZ_ERR_ABORTED, "extraction aborted");
    call(UNZ_CB_END_OF_BATCH, 0, 0, {});
    return processed;
}

bool Extraction::mayReplace(const Member &member, int index, const std::string &target, const std::string &name)
{
    const PathInfo existing = pathInfo(target);
    if (!existing.exists)
        return !flag(params_.freshenFlag) || flag(params_.updateFlag);
    const bool existingOlder = existing.modificationTime < dosTimeToUnix(member.dosDateTime);
    if (flag(params_.updateFlag) || flag(params_.freshenFlag)) {
        if (!existingOlder)
            call(UNZ_CB_SKIPPED, 0, UNZ_SKIP_FILE_EXISTS + 1, name);
        return existingOlder;
    }
    if (flag(params_.overwriteFlag))
        return true;
    const std::int32_t about = (existingOlder ? 0x10000 : 0) | (index & 0xFFFF);
    const Reply reply = call(UNZ_CB_OVERWRITE, about, 0, name, index);
    if ((reply.size & 0xFF) == 1)
        return true;
    call(UNZ_CB_SKIPPED, 0, UNZ_SKIP_NO_OVERWRITE + 1, name);
    return false;
}

// The bytes of a password text that open the member; an empty password is
// never tried.
bool Extraction::opens(MemberUnpacker &unpacker, const std::string &text, std::string &password) const
{
    if (text.empty())
        return false;
    for (const std::string &bytes : zipformat::passwordEncodings(text)) {
        if (unpacker.passwordOpens(bytes)) {
            password = bytes;
            return true;
        }
    }
    return false;
}

bool Extraction::findPassword(MemberUnpacker &unpacker, const std::string &name, std::string &password)
{
    if (opens(unpacker, password_, password))
        return true;
    // Attempts left for this member, the one about to be made included.
    std::int32_t left = std::clamp<std::int32_t>(params_.passwordRequestCount, 0, UNZ_MAX_PASSWORD_REQUESTS);
    while (left > 0 && !passwordsCancelled_ && !aborted_) {
        const Reply reply = call(UNZ_CB_PASSWORD, 0, left, name);
        if (reply.action == UNZ_PASSWORD_CANCEL_ALL)
            passwordsCancelled_ = true;
        if (aborted_ || reply.error != UNZ_ANSWER_YES)
            return false;
        const std::string given = zipformat::firstCharacters(reply.text, UNZ_MAX_PASSWORD_LENGTH);
        if (opens(unpacker, given, password)) {
            password_ = given;
            return true;
        }
        left = std::min<std::int32_t>(reply.size, UNZ_MAX_PASSWORD_REQUESTS) - 1;
    }
    return false;
}

bool Extraction::processMember(const ArchiveFile &archive, const Directory &directory, int index)
{
    const Member &member = directory.members[std::size_t(index)];
    const bool test = flag(params_.testFlag);
    const bool keepFolders = flag(params_.directoryNamesFlag);
    std::string name = member.name;
    if (!test && !member.isDirectory()) {
        const Reply renamed = call(UNZ_CB_NEW_NAME, 0, 0, name, index);
        if (renamed.error == UNZ_ANSWER_YES && !renamed.text.empty())
            name = renamed.text;
    }
    std::string relative;
    switch (relativeTarget(name, keepFolders, relative)) {
    case NameCheck::DirectoryOnly:
        if (keepFolders && !test && !relative.empty())
            makeDirectories(targetPath(relative), true);
        return false;
    case NameCheck::Unsafe:
        skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_UNSAFE_NAME, "the name points outside the target folder");
        return false;
    case NameCheck::Ok: break;
    }
    const std::string target = targetPath(relative);
    if (!test && !mayReplace(member, index, target, name))
        return false;
    MemberUnpacker unpacker(archive, member, directory.start);
    if (!unpacker.locate()) {
        skipped(name, UNZ_SKIP_FORMAT_WRONG, UNZ_ERR_FORMAT, "the member's local header or data are damaged");
        return false;
    }
    // No password can open a method this library does not know: say so
    // before asking for one.
    if (!unpacker.methodSupported()) {
        skipped(name, UNZ_SKIP_COMPRESSION_UNKNOWN, UNZ_ERR_METHOD, "unsupported compression method");
        return false;
    }
    std::string password;
    if (member.encrypted() && !findPassword(unpacker, name, password)) {
        if (!aborted_)
            skipped(name, UNZ_SKIP_BAD_PASSWORD, UNZ_ERR_PASSWORD, "no fitting password");
        return false;
    }
    if (aborted_)
        return false;
    std::unique_ptr<PendingFile> file;
    if (!test) {
        if (keepFolders && !makeDirectories(target, false)) {
            skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "cannot create the folder of " + target);
            return false;
        }
        const std::string folder = folderOf(target);
        if (sweptFolders_.insert(folder).second)
            removeStrayTemporaries(folder);
        const std::int64_t space = freeSpace(folder);
        if (space >= 0 && member.uncompressedSize > std::uint64_t(space)) {
            skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "not enough free space for " + target);
            return false;
        }
        file = std::make_unique<PendingFile>(target);
        if (!file->isOpen()) {
            skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "cannot write " + target);
            return false;
        }
    }
    if (flag(params_.verboseFlag))
        message(0, (test ? "testing: " : member.method == 8 ? "inflating: " : "extracting: ") + name);
    call(UNZ_CB_NEW_FILE, 0, std::int32_t(member.uncompressedSize), name, index);
    bool writeFailed = false;
    const UnpackResult result = unpacker.unpack(
        password,
        [&](std::vector<unsigned char> &chunk, std::size_t size) {
            if (file && !file->write(chunk, size)) {
                writeFailed = true;
                return false;
            }
            call(UNZ_CB_PROGRESS, 0, std::int32_t(size), {});
            return !aborted_;
        },
        file ? MemberUnpacker::Crc::BySink : MemberUnpacker::Crc::Here);
    if (result == UnpackResult::Ok && file && !file->finishWriting()) {
        skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "cannot write " + target);
        return false;
    }
    switch (result) {
    case UnpackResult::Stopped:
        if (writeFailed)
            skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "cannot write " + target);
        return false;
    case UnpackResult::UnknownMethod:
        skipped(name, UNZ_SKIP_COMPRESSION_UNKNOWN, UNZ_ERR_METHOD, "unsupported compression method");
        return false;
    case UnpackResult::Damaged:
        skipped(name, UNZ_SKIP_FORMAT_WRONG, UNZ_ERR_FORMAT, "the compressed data are damaged");
        return false;
    case UnpackResult::Ok: break;
    }
    const std::uint32_t crc = file ? file->crc() : unpacker.crc();
    if (crc != member.crc) {
        // Keep the new data only when the caller says so (answer 1).
        const Reply reply =
            test ? Reply{} : call(UNZ_CB_CRC_ERROR, std::int32_t(crc), std::int32_t(member.crc), name, index);
        if (test || reply.error != UNZ_ANSWER_YES) {
            skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_CRC,
                    test ? "CRC error" : "CRC error, the new data were discarded");
            return false;
        }
    }
    if (file && !file->commit(dosTimeToUnix(member.dosDateTime), closer_)) {
        skipped(name, UNZ_SKIP_GENERAL_ERROR, UNZ_ERR_WRITE, "cannot replace " + target);
        return false;
    }
    return true;
}

} // namespace unz
