// The command a user or the desktop menu starts: prepares the user's own
// working directory from the installed files and runs the program there.
#include "starterror.h"
#include "systemerror.h"
#include "userfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace {

// The installed folders, found from the launcher's own place so that the
// whole installation can move to another prefix.
QString installedPath(const char *relative)
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QDir::cleanPath(QFileInfo(self).absolutePath() + QLatin1Char('/') + QString::fromUtf8(relative));
}

// Returns only when the program could not be started.
QString runProgram(const QString &program, const QString &folder)
{
    if (::chdir(QFile::encodeName(folder).constData()) != 0)
        return QStringLiteral("Не удалось перейти в папку «%1»: %2.").arg(folder, systemerror::text(errno));
    const QByteArray path = QFile::encodeName(program);
    char *const arguments[] = {const_cast<char *>(path.constData()), nullptr};
    ::execv(path.constData(), arguments);
    return QStringLiteral("Не удалось запустить «%1»: %2. Переустановите программу.")
        .arg(program, systemerror::text(errno));
}

} // namespace

int main(int argc, char **argv)
{
    const QString folder = userfolder::location(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
    if (folder.isEmpty())
        return starterror::report(argc, argv, QStringLiteral("Не задана домашняя папка (HOME)."));
    if (const QString error = userfolder::prepare(installedPath(SPRAV_SHARED_FROM_BIN), folder); !error.isEmpty())
        return starterror::report(argc, argv, error);
    const QString program = QDir(installedPath(SPRAV_PRIVATE_FROM_BIN)).filePath(QStringLiteral("spravochnik"));
    return starterror::report(argc, argv, runProgram(program, folder));
}
