#include "data/tablefile.h"

#include "data/dataset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace data {

QString tableFilePath(const QString &fileName)
{
    return QDir::current().absoluteFilePath(fileName);
}

QString tableNameOf(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

QString tableHeldIn(const QString &fileName, const QStringList &tables)
{
    const QString named = tableNameOf(fileName);
    for (const QString &table : tables) {
        if (table.compare(named, Qt::CaseInsensitive) == 0)
            return table;
    }
    if (tables.size() == 1)
        return tables.front();
    if (tables.isEmpty())
        throw EDatabaseError(QStringLiteral("В файле таблицы \"%1\" нет таблицы").arg(fileName));
    throw EDatabaseError(QStringLiteral("В файле таблицы \"%1\" %2 таблиц(ы) (%3), и ни одна не называется \"%4\"")
                             .arg(fileName)
                             .arg(tables.size())
                             .arg(tables.join(QStringLiteral(", ")), named));
}

bool deleteTableFile(const QString &fileName)
{
    const QString path = tableFilePath(fileName);
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

bool syncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

bool replaceDurably(const QString &finished, const QString &path)
{
    return syncToDisk(finished) &&
           std::rename(QFile::encodeName(finished).constData(), QFile::encodeName(path).constData()) == 0 &&
           syncToDisk(QFileInfo(path).absolutePath());
}

} // namespace data
