#include "platform/onecopy.h"

#include "platform/form.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace platform {

namespace {

// The folder's name for the lock and the channel: a hash of its path, so
// it fits where socket names are short.
QString nameFor(const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("spravochnik-") + QString::fromLatin1(hash);
}

constexpr int answerWaitMs = 2000;

} // namespace

OneCopyPerFolder::OneCopyPerFolder(const QString &folder)
    : name_(nameFor(folder)), lock_(QDir::temp().filePath(name_ + QStringLiteral(".lock")))
{
    lock_.setStaleLockTime(0); // stale only when its copy no longer runs
}

OneCopyPerFolder::~OneCopyPerFolder() = default;

OneCopyPerFolder::Claim OneCopyPerFolder::claim()
{
    if (!lock_.tryLock()) {
        if (lock_.error() != QLockFile::LockFailedError)
            return First; // no lock can be kept here (temp not writable): run unguarded
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (!socket.waitForConnected(answerWaitMs))
            return Unreachable;
        socket.write("forward\n");
        return socket.waitForBytesWritten(answerWaitMs) ? Forwarded : Unreachable;
    }
    server_ = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(name_); // a killed copy's channel
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            bringForward();
        }
    });
    server_->listen(name_);
    return First;
}

// The window on top (a modal one over the main window) comes forward.
void OneCopyPerFolder::bringForward()
{
    Form *main = Form::mainForm();
    if (!main)
        return;
    if (main->isMinimized())
        main->showNormal();
    QWidget *top = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main;
    top->raise();
    top->activateWindow();
}

} // namespace platform
