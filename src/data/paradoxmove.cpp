#include "data/paradoxmove.h"

#include "data/dataset.h"
#include "data/paradoxtable.h"
#include "data/records.h"
#include "data/sqlitedb.h"
#include "data/tablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace data {

namespace {

[[noreturn]] void cannot(const QString &what, const QString &fileName)
{
    throw EDatabaseError(QStringLiteral("Не удаётся перенести таблицу Paradox «%1»: %2 (%3). Таблица не изменена.")
                             .arg(fileName, what, QString::fromLocal8Bit(strerror(errno))));
}

void syncPath(const QString &path, const QString &fileName)
{
    if (!syncToDisk(path))
        cannot(QStringLiteral("не удаётся записать на диск %1").arg(QFileInfo(path).fileName()), fileName);
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(1 << 16) != second.read(1 << 16))
            return false;
    }
    return true;
}

// "basamy.db" kept as "basamy-paradox.db", or "basamy-paradox-2.db" and so on
// when an earlier move kept another original there; a name that already holds
// these very bytes (a move killed before it finished) is taken again.
QString keptBaseName(const QString &path)
{
    const QFileInfo info(path);
    for (int n = 1;; ++n) {
        const QString base =
            info.completeBaseName() + QStringLiteral("-paradox") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        const QString candidate = info.dir().filePath(base + u'.' + info.suffix());
        if (!QFileInfo::exists(candidate) || sameBytes(candidate, path))
            return base;
    }
}

// A second name for the same bytes: a hard link, or a durable copy where the
// file system has none.
void keep(const QString &from, const QString &to, const QString &fileName)
{
    if (QFileInfo::exists(to) && sameBytes(from, to))
        return;
    QFile::remove(to);
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return;
    if (!QFile::copy(from, to))
        cannot(QStringLiteral("не удаётся сохранить копию под именем %1").arg(QFileInfo(to).fileName()), fileName);
    syncPath(to, fileName);
}

void writeTableFile(const QString &path, const QString &tableName, const Records &records)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    using namespace sqlite;
    Connection file = Connection::createFile(path);
    QStringList columns;
    for (int i = 0; i < records.columnCount(); ++i) {
        const int size = records.sizes[std::size_t(i)];
        columns.append(quoted(records.names[i]) +
                       (size > 0 ? QStringLiteral(" VARCHAR(%1)").arg(size) : QStringLiteral(" TEXT")));
    }
    file.exec("BEGIN");
    Statement(file, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(tableName), columns.join(u','))).run();
    Statement insert(file,
                     QStringLiteral("INSERT INTO %1 VALUES (%2)")
                         .arg(quoted(tableName), QStringList(records.columnCount(), QStringLiteral("?")).join(u',')));
    for (int row = 0; row < records.rowCount(); ++row) {
        for (int column = 0; column < records.columnCount(); ++column)
            insert.bindTextOrNull(column + 1, records.string(row, column));
        insert.run();
        sqlite3_reset(insert.handle());
    }
    file.exec("COMMIT");
}

} // namespace

std::optional<ParadoxMove> moveParadoxTable(const QString &fileName)
{
    const QString path = tableFilePath(fileName);
    if (!ParadoxTable::isParadoxFile(path))
        return std::nullopt;
    Records records;
    readParadoxFile(path, fileName, records);

    const QFileInfo info(path);
    const QDir dir = info.dir();
    const QString partial = dir.filePath(u'.' + info.fileName() + QStringLiteral(".moving"));
    writeTableFile(partial, tableNameOf(fileName), records);
    syncPath(partial, fileName);

    ParadoxMove move;
    move.records = records.rowCount();
    const QString base = keptBaseName(path);
    move.keptAs = base + u'.' + info.suffix();
    keep(path, dir.filePath(move.keptAs), fileName);
    const QStringList sides = paradoxSideFiles(path);
    for (const QString &side : sides) {
        const QString kept = base + u'.' + QFileInfo(side).suffix();
        keep(side, dir.filePath(kept), fileName);
        move.keptSideFiles.append(kept);
    }
    syncPath(dir.path(), fileName);

    // The one step that changes what "basamy.db" is.
    if (!replaceDurably(partial, path))
        cannot(QStringLiteral("не удаётся заменить файл"), fileName);
    // The side files belong to the kept original now.
    for (const QString &side : sides)
        QFile::remove(side);
    return move;
}

} // namespace data
