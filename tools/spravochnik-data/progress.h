#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// A percentage on standard error while long work runs: only when standard
// error is a terminal and only once the work has taken a second, so short
// runs and logs stay clean.
class TerminalProgress {
public:
    TerminalProgress();
    ~TerminalProgress();

    void operator()(qint64 done, qint64 total);

private:
    QElapsedTimer clock_;
    bool terminal_;
    int shown_ = -1;
};
