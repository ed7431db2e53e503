#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace platform {

// One copy of the program per working folder: two copies would unpack into
// the same files and delete the tables the other is searching. The first
// copy holds a lock and listens; a later start there asks it to bring its
// window forward. A lock left by a killed copy is stale and taken over.
class OneCopyPerFolder : public QObject {
    Q_OBJECT
public:
    explicit OneCopyPerFolder(const QString &folder);
    ~OneCopyPerFolder() override;

    enum Claim {
        First,       // this copy runs
        Forwarded,   // a copy runs there and was asked to come forward
        Unreachable, // a copy runs there and could not be asked
    };
    Claim claim();

private:
    void bringForward();

    QString name_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace platform
