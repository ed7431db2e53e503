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

    // Names the key delivery under way, the innermost one: an event that
    // travels on to its receiver's parents keeps its number, and a new event
    // gets a new one even where it takes the address of one gone before.
    static quint64 currentKeyDelivery();
};

} // namespace platform
