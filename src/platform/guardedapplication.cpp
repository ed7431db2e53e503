#include "platform/guardedapplication.h"

#include "platform/errorreport.h"

namespace platform {

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException();
        return true; // the handler had its say, however it ended
    }
}

} // namespace platform
