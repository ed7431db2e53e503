#include "platform/shell.h"

#include "platform/messagebox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace platform {

namespace {

ShellRecorder &recorder()
{
    static ShellRecorder installed;
    return installed;
}

QString cannotOpenText(const ShellRequest &request)
{
    if (request.kind == ShellRequest::StartHelpViewer)
        return QStringLiteral("Не удалось открыть справку «%1»: не найдена программа для просмотра HTML-файлов.")
            .arg(request.target);
    return QStringLiteral("Не удалось открыть «%1»: не найдена программа, которая открывает такие ссылки.")
        .arg(request.target);
}

void open(const ShellRequest &request, const QUrl &url)
{
    if (recorder())
        recorder()(request);
    else if (!QDesktopServices::openUrl(url))
        messageBox(cannotOpenText(request), QStringLiteral("Внимание!"), mbExclamationOk);
}

} // namespace

void setShellRecorder(ShellRecorder installed)
{
    recorder() = std::move(installed);
}

void openUrl(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (parsed.isValid() && !parsed.scheme().isEmpty())
        open({ShellRequest::OpenUrl, url}, parsed);
}

void startHelpViewer(const QString &helpFile)
{
    const QFileInfo file(QDir::current(), helpFile);
    if (file.isFile())
        open({ShellRequest::StartHelpViewer, file.absoluteFilePath()}, QUrl::fromLocalFile(file.absoluteFilePath()));
}

bool deleteFile(const QString &path)
{
    return QFileInfo(path).isFile() && QFile::remove(path);
}

} // namespace platform
