// A stand-in unzip library with a chosen version and extraction result. It
// reports the parameter record it received as one message call-back, so
// tests can check every field the component fills.
#include "unzlib/unzlib.h"

#include <cstdio>
#include <cstring>

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

STANDIN_EXPORT int32_t GetUnzLibVersion()
{
    return STANDIN_VERSION;
}

STANDIN_EXPORT int32_t GetUnzLibPrivVersion()
{
    return 17300;
}

STANDIN_EXPORT int32_t UnzLibExec(UnzipParams *p)
{
    CallbackRecord record{};
    record.caller = p->caller;
    record.actionCode = UNZ_CB_MESSAGE;
    std::snprintf(record.text, sizeof record.text,
                  "window=%d;trace=%d;r40=%d;verbose=%d;update=%d;freshen=%d;test=%d;folders=%d;overwrite=%d;"
                  "count=%d;specs=%s;requests=%d;directory=%s;password=%s;end=%d",
                  p->windowHandle ? 1 : 0, p->traceFlag, p->reserved40, p->verboseFlag, p->updateFlag, p->freshenFlag,
                  p->testFlag, p->directoryNamesFlag, p->overwriteFlag, p->fileSpecCount,
                  p->fileSpecs && p->fileSpecs[0].fileSpec ? p->fileSpecs[0].fileSpec : "-", p->passwordRequestCount,
                  p->extractDirectory ? p->extractDirectory : "-", p->password, p->endMarker);
    p->callback(&record);
    return STANDIN_RESULT;
}
