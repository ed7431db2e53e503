// A stand-in unzip library with a chosen version and extraction result.
#include <cstdint>

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

STANDIN_EXPORT std::int32_t GetUnzLibVersion()
{
    return STANDIN_VERSION;
}

STANDIN_EXPORT std::int32_t GetUnzLibPrivVersion()
{
    return 17300;
}

STANDIN_EXPORT std::int32_t UnzLibExec(void *)
{
    return STANDIN_RESULT;
}
