#include "data/tablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace data {

QString tableFilePath(const QString &fileName)
{
    return QDir::current().absoluteFilePath(fileName);
}

QString tableNameOf(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

bool deleteTableFile(const QString &fileName)
{
    const QString path = tableFilePath(fileName);
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

} // namespace data
