#include "starterror.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace starterror {

namespace {
const QString kCannotStart = QStringLiteral("Телефонный справочник не может начать работу.");
}

bool canShowWindows()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void showMessageBox(const QString &reason)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Телефонный справочник"), kCannotStart, QMessageBox::Ok);
    box.setInformativeText(reason);
    box.exec();
}

int report(int argc, char **argv, const QString &reason)
{
    std::fprintf(stderr, "spravochnik: %s\n%s\n", kCannotStart.toUtf8().constData(), reason.toUtf8().constData());
    if (canShowWindows()) {
        QApplication app(argc, argv);
        showMessageBox(reason);
    }
    return 1;
}

} // namespace starterror
