#include "progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

TerminalProgress::TerminalProgress() : terminal_(isatty(STDERR_FILENO) == 1)
{
    clock_.start();
}

TerminalProgress::~TerminalProgress()
{
    if (shown_ >= 0)
        std::fputs("\r     \r", stderr);
}

void TerminalProgress::operator()(qint64 done, qint64 total)
{
    if (!terminal_ || total <= 0 || clock_.elapsed() < 1000)
        return;
    const int percent = int(std::clamp<qint64>(done * 100 / total, 0, 100));
    if (percent == shown_)
        return;
    shown_ = percent;
    std::fprintf(stderr, "\r%3d%%", percent);
    std::fflush(stderr);
}
