#include "data/table.h"

#include "data/records.h"
#include "data/sqlitedb.h"

namespace data {

Table::Table() = default;
Table::~Table() = default;

void Table::setTableName(const QString &fileName)
{
    checkInactive();
    tableName_ = fileName;
}

int Table::fieldDefIndex(const QString &fieldName) const
{
    for (int i = 0; i < structure_.size(); ++i) {
        if (structure_[i].compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void Table::emptyTable()
{
    checkInactive();
    moveParadoxTable(tableName_);
    sqlite::Connection connection = sqlite::Connection::openTable(tableName_);
    sqlite::Statement(connection, QStringLiteral("DELETE FROM ") + sqlite::quoted(connection.table())).run();
}

QString Table::quotedTable() const
{
    return sqlite::quoted(connection_->table());
}

// The columns quoted and separated by commas, each followed by suffix.
QString Table::quotedColumns(const Snapshot &result, const QString &suffix) const
{
    QStringList columns;
    for (const QString &name : result.names)
        columns.append(sqlite::quoted(name) + suffix);
    return columns.join(u',');
}

void Table::doOpen(Snapshot &result)
{
    paradoxMove_ = moveParadoxTable(tableName_);
    connection_ = std::make_unique<sqlite::Connection>(sqlite::Connection::openTable(tableName_));
    sqlite::Statement(*connection_, QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(quotedTable()))
        .readAll(result, true);
    structure_ = result.names;
}

void Table::doClose()
{
    connection_.reset();
}

int Table::doPost(Snapshot &result, int row, bool inserting, const QStringList &values)
{
    const QString sql = inserting ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                        .arg(quotedTable(), quotedColumns(result, QString()),
                                             QStringList(values.size(), QStringLiteral("?")).join(u','))
                                  : QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                        .arg(quotedTable(), quotedColumns(result, QStringLiteral(" = ?")));
    sqlite::Statement statement(*connection_, sql);
    for (int i = 0; i < values.size(); ++i)
        statement.bindTextOrNull(i + 1, values[i]);
    if (!inserting)
        statement.bindInt64(int(values.size()) + 1, result.key(row));
    statement.run();
    if (!inserting && sqlite3_changes(connection_->handle()) == 0)
        throw EDatabaseError(QStringLiteral("Запись удалена из \"%1\" другой программой").arg(tableName_));

    result.setRow(row, values);
    if (!inserting)
        return row;
    // A new record takes the next key, so in table order it is the last one.
    result.setKey(row, sqlite3_last_insert_rowid(connection_->handle()));
    result.moveRow(row, result.rowCount() - 1);
    return result.rowCount() - 1;
}

void Table::doDelete(Snapshot &result, int row)
{
    sqlite::Statement statement(*connection_, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedTable()));
    statement.bindInt64(1, result.key(row));
    statement.run();
    result.removeRow(row);
}

} // namespace data
