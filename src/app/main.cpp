#include "app/program.h"
#include "platform/application.h"
#include "platform/guardedapplication.h"
#include "platform/messagebox.h"
#include "platform/onecopy.h"
#include "platform/screenreaderstatus.h"

#include <QDir>

int main(int argc, char **argv)
{
    platform::keepAccessibilityBridgeOn();
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    platform::OneCopyPerFolder oneCopy(QDir::currentPath());
    switch (oneCopy.claim()) {
    case platform::OneCopyPerFolder::First: break;
    case platform::OneCopyPerFolder::Forwarded: return 0;
    case platform::OneCopyPerFolder::Unreachable:
        platform::messageBox(QStringLiteral("Справочник уже открыт в этой папке, но его окно не удалось вывести "
                                            "на передний план. Переключитесь на него сами."),
                             QStringLiteral("Внимание!"), platform::mbExclamationOk);
        return 0;
    }
    Program program;
    return program.run();
}
