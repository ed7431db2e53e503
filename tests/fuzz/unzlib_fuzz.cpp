// Any bytes as an archive for the unzip library, extracted with and without
// folder names into a folder four levels down a scratch tree that also holds
// a symbolic link where a member may land: nothing may crash, leak, follow
// the link or land anywhere in the tree but inside the target folder.
#include "unzlib/unzlib.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

int32_t answer(CallbackRecord *record)
{
    switch (record->actionCode) {
    case UNZ_CB_PASSWORD:
        std::strcpy(record->text, "pw");
        record->errorCode = 1;
        break;
    case UNZ_CB_CRC_ERROR:
        record->errorCode = record->size & 1; // keep some, drop some
        break;
    case UNZ_CB_OVERWRITE: record->size = 1; break;
    default: break;
    }
    return 0;
}

// The scratch tree, removed when the fuzzer exits.
struct Scratch {
    fs::path path = fs::temp_directory_path() / ("unzlib-fuzz-" + std::to_string(::getpid()));
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

const fs::path &root()
{
    static const Scratch scratch;
    return scratch.path;
}

const fs::path archive = root() / "input.zip";
const fs::path victim = root() / "victim.txt";
const fs::path target = root() / "1" / "2" / "3" / "out";
const fs::path link = target / "data.db";

void freshTree()
{
    fs::remove_all(root());
    fs::create_directories(target);
    std::ofstream(victim) << "untouched";
    fs::create_symlink(victim, link);
}

// Only the archive, the victim, the folders down to the target, and
// whatever lies inside the target (the link may be replaced by a file).
bool onlyInsideTheTarget()
{
    for (const auto &e : fs::recursive_directory_iterator(root())) {
        const fs::path p = e.path();
        const bool allowed = p == archive || p == victim || p == root() / "1" || p == root() / "1" / "2" ||
                             p == root() / "1" / "2" / "3" || p == target ||
                             std::mismatch(target.begin(), target.end(), p.begin(), p.end()).first == target.end();
        if (!allowed)
            return false;
    }
    std::ifstream in(victim);
    std::string text;
    in >> text;
    return text == "untouched";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    freshTree();
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), std::streamsize(size));
    const std::string archiveName = archive.string();
    const std::string targetName = target.string();
    for (int folders : {-1, 0}) {
        UnzipParams p{};
        p.callback = &answer;
        p.password = "";
        p.directoryNamesFlag = folders;
        p.overwriteFlag = 0;
        p.archiveName = archiveName.c_str();
        p.passwordRequestCount = 2;
        p.extractDirectory = targetName.c_str();
        p.endMarker = 7;
        UnzLibExec(&p);
        if (!onlyInsideTheTarget())
            __builtin_trap();
    }
    return 0;
}
