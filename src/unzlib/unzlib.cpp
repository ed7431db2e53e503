// Entry points of the unzip library.
#include "unzlib/unzlib.h"

#include "unzlib/extraction.h"

#include <exception>

namespace {
constexpr int32_t kVersion = 173;
constexpr int32_t kPrivateVersion = 17301;
}

extern "C" {

UNZ_EXPORT int32_t UnzLibExec(UnzipParams *params)
{
    if (!params || params->endMarker != UNZ_END_MARKER)
        return -1;
    try {
        return unz::Extraction(*params).run();
    } catch (const std::exception &) {
        return -2; // out of memory: nothing may escape into the caller
    }
}

UNZ_EXPORT int32_t GetUnzLibVersion(void)
{
    return kVersion;
}

UNZ_EXPORT int32_t GetUnzLibPrivVersion(void)
{
    return kPrivateVersion;
}

} // extern "C"
