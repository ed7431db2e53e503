#include "starterror.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace starterror {

bool canShowWindows()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void showMessageBox(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Телефонный справочник"), message, QMessageBox::Ok);
    box.exec();
}

int report(int argc, char **argv, const QString &message)
{
    std::fprintf(stderr, "spravochnik: %s\n", message.toUtf8().constData());
    if (canShowWindows()) {
        QApplication app(argc, argv);
        showMessageBox(message);
    }
    return 1;
}

} // namespace starterror
