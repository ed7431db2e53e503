// Any bytes as an archive for the unzip library, extracted with folder names
// into a scratch folder: nothing may crash, leak or land outside it.
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
        record->errorCode = record->size & 1;   // keep some, drop some
        break;
    case UNZ_CB_OVERWRITE:
        record->size = 1;
        break;
    default:
        break;
    }
    return 0;
}

const fs::path &scratch()
{
    static const fs::path root = [] {
        fs::path p = fs::temp_directory_path() / ("unzlib-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p / "out");
        return p;
    }();
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fs::path archive = scratch() / "input.zip";
    const fs::path out = scratch() / "out";
    std::ofstream(archive, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char *>(data),
                                                                    std::streamsize(size));
    const std::string archiveName = archive.string();
    const std::string outName = out.string();
    for (int folders : {-1, 0}) {
        UnzipParams p{};
        p.callback = &answer;
        p.password = "";
        p.directoryNamesFlag = folders;
        p.overwriteFlag = 0;
        p.archiveName = archiveName.c_str();
        p.passwordRequestCount = 2;
        p.extractDirectory = outName.c_str();
        p.endMarker = 7;
        UnzLibExec(&p);
    }
    // Everything written must be inside the scratch folder.
    for (const auto &e : fs::directory_iterator(scratch()))
        if (e.path() != archive && e.path() != out)
            __builtin_trap();
    fs::remove_all(out);
    fs::create_directories(out);
    return 0;
}
