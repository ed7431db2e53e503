#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <sqlite3.h>

namespace datagen {

// Writes one table file from scratch: the file is replaced, the table named
// after it is created with the given columns, rows are added in one
// transaction, and indexes are built at the end.
class TableWriter {
public:
    TableWriter(const QString &path, const QString &columns);
    ~TableWriter();
    TableWriter(const TableWriter &) = delete;
    TableWriter &operator=(const TableWriter &) = delete;

    void add(const QStringList &row);          // an empty text stores NULL
    void index(const QString &column);
    void finish();                              // commits; the file is complete

private:
    void exec(const QString &sql);
    [[noreturn]] void fail(const QString &what) const;

    QString path_;
    QString table_;
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
};

} // namespace datagen
