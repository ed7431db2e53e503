#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace platform {

// Sees every key press once, at the control it is sent to, and keeps
// classic Windows' order: the form's key preview and Alt+F4 first, then the
// keyboard layout, which replaces the key's character before the control
// gets it. Shortcuts of the focused control have already run by then.
// The layout also sees every release, for its switch keys.
class KeyRouter : public QObject {
    Q_OBJECT
public:
    // Installs the one router as an application event filter.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    bool route(QWidget &receiver, QKeyEvent &event);

    // The last key routed, where, and in which delivery of the program's
    // application object (an address alone may come back for a new event).
    const QEvent *routed_ = nullptr;
    quint64 routedDelivery_ = 0;
    QPointer<QWidget> routedTo_;
    const QKeyEvent *retyped_ = nullptr; // the replacement being delivered
};

} // namespace platform
