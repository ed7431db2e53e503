#include "errorreport.h"

#include "application.h"
#include "messagebox.h"

#include <exception>

namespace platform {

void reportError(const QString &text)
{
    messageBox(text, applicationTitle(), mbErrorOk);
}

void reportCurrentException()
{
    try {
        throw;
    } catch (const std::exception &e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Внутренняя ошибка программы."));
    }
}

bool runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        reportCurrentException();
    }
    return false;
}

} // namespace platform
