#include "tablewriter.h"

#include "data/tablefile.h"

#include <QFile>
#include <stdexcept>

namespace datagen {

TableWriter::TableWriter(const QString &path, const QString &columns)
    : path_(path), table_(data::tableNameOf(path))
{
    QFile::remove(path);
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        fail(QStringLiteral("cannot create"));
    // The file is thrown away on failure, so nothing needs a journal.
    exec(QStringLiteral("PRAGMA journal_mode=OFF"));
    exec(QStringLiteral("PRAGMA synchronous=OFF"));
    // Unused space is zeroed, so identical inputs give identical bytes.
    exec(QStringLiteral("PRAGMA secure_delete=ON"));
    exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table_, columns));
    exec(QStringLiteral("BEGIN"));
    const int count = int(columns.count(u',')) + 1;
    const QString sql = QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table_, QStringList(count, QStringLiteral("?")).join(u','));
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &insert_, nullptr) != SQLITE_OK)
        fail(sql);
}

TableWriter::~TableWriter()
{
    sqlite3_finalize(insert_);
    sqlite3_close(db_);
}

void TableWriter::add(const QStringList &row)
{
    for (int i = 0; i < row.size(); ++i) {
        const QByteArray utf8 = row[i].toUtf8();
        if (utf8.isEmpty())
            sqlite3_bind_null(insert_, i + 1);
        else
            sqlite3_bind_text(insert_, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    if (sqlite3_step(insert_) != SQLITE_DONE)
        fail(QStringLiteral("cannot insert"));
    sqlite3_reset(insert_);
}

void TableWriter::index(const QString &column)
{
    exec(QStringLiteral("CREATE INDEX \"%1_%2\" ON \"%1\" (\"%2\")").arg(table_, column));
}

void TableWriter::finish()
{
    exec(QStringLiteral("COMMIT"));
    exec(QStringLiteral("VACUUM"));
    // Readers expect the rollback journal the program itself uses.
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void TableWriter::exec(const QString &sql)
{
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

void TableWriter::fail(const QString &what) const
{
    throw std::runtime_error(QStringLiteral("%1: %2: %3").arg(path_, what, QString::fromUtf8(sqlite3_errmsg(db_))).toStdString());
}

} // namespace datagen
