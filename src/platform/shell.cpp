#include "platform/shell.h"

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

void open(const ShellRequest &request, const QUrl &url)
{
    if (recorder())
        recorder()(request);
    else
        QDesktopServices::openUrl(url);
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
