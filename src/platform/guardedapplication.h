#pragma once

#include <QApplication>

namespace platform {

// The program's application object. An exception that leaves any event
// handler (a key, a click, a timer, a queued call...) ends that handler
// only: it becomes the default error report and the event loop goes on.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace platform
