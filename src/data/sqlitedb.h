#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <sqlite3.h>

namespace data {

class Records;

namespace sqlite {

// One engine connection, closed when it goes. Every failure is thrown as
// EDatabaseError naming the table files involved (the "subject").
class Connection {
public:
    // An existing table file for reading and writing; a missing one is an
    // error, never created. Every change is durable when it returns.
    static Connection openTable(const QString &fileName);
    // A table file created where none is; every commit is synced to the disk.
    static Connection createFile(const QString &path);
    // An in-memory connection to which table files are attached read-only.
    static Connection openForQuery();

    sqlite3 *handle() const { return db_.get(); }
    // The table of a connection made by openTable (see tableHeldIn).
    const QString &table() const { return table_; }

    // Attaches a table file as the given schema name; returns the name of
    // the table it holds (see tableHeldIn).
    QString attachReadOnly(const QString &fileName, const QString &schema);
    void exec(const char *sql);
    [[noreturn]] void fail(int code) const;

private:
    struct Closer {
        void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
    };
    Connection(sqlite3 *db, QString subject);
    static Connection open(const QByteArray &path, int flags, QString subject);
    QString tableIn(const QString &schema, const QString &fileName);

    std::unique_ptr<sqlite3, Closer> db_;
    QString subject_;
    QString table_;
};

class Statement {
public:
    enum class Kind { Internal, UserSql };
    // UserSql: a compile error is reported as a bad SQL text.
    Statement(const Connection &connection, const QString &sql, Kind kind = Kind::Internal);

    sqlite3_stmt *handle() const { return stmt_.get(); }
    void bindText(int index, const QString &value);       // always a text, "" included
    void bindTextOrNull(int index, const QString &value); // an empty text binds NULL
    void bindInt64(int index, qint64 value);
    bool step(); // true while a row is ready
    void run();  // steps to the end
    // Appends every remaining row; with keyColumn the first column is the row key.
    void readAll(Records &records, bool keyColumn);

private:
    void check(int code) const;
    struct Finalizer {
        void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
    };
    const Connection &connection_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// An identifier in double quotes, safe for any name.
QString quoted(const QString &identifier);

// Size of a declared type such as "VARCHAR(30)"; 0 when none is declared.
int declaredSize(const char *declaredType);

} // namespace sqlite
} // namespace data
