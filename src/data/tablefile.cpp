#include "data/tablefile.h"

#include "data/dataset.h"

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

} // namespace data
