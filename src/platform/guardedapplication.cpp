#include "platform/guardedapplication.h"

#include "platform/errorreport.h"

#include <QScopedValueRollback>

namespace platform {

namespace {

quint64 keyDeliveries = 0;
quint64 keyDeliveryUnderWay = 0;

bool isKeyEvent(const QEvent &event)
{
    const QEvent::Type type = event.type();
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
}

} // namespace

quint64 GuardedApplication::currentKeyDelivery()
{
    return keyDeliveryUnderWay;
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    const QScopedValueRollback delivery(keyDeliveryUnderWay);
    if (isKeyEvent(*event))
        keyDeliveryUnderWay = ++keyDeliveries;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException();
        return true; // the handler had its say, however it ended
    }
}

} // namespace platform
