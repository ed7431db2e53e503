#include "dataio/tablewriter.h"

#include "data/field.h"
#include "data/sqlitedb.h"
#include "data/tablefile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace dataio {

TableWriter::TableWriter(const QString &path, const TableLayout &layout)
    : path_(path), partPath_(path + QStringLiteral(".part")), layout_(layout), table_(data::tableNameOf(path))
{
    QFile::remove(partPath_);
    try {
        start();
    } catch (...) {
        discard();
        throw;
    }
}

void TableWriter::start()
{
    // One thread writes the file: no lock around each of the calls per row.
    if (sqlite3_open_v2(QFile::encodeName(partPath_).constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        fail(QStringLiteral("cannot create"));
    // Pages of 16 KiB: a quarter of the pages to fill, write and re-read
    // while the indexes are built, and shallower trees to search.
    exec(QStringLiteral("PRAGMA page_size=16384"));
    // The file is thrown away on failure, so nothing needs a journal.
    exec(QStringLiteral("PRAGMA journal_mode=OFF"));
    exec(QStringLiteral("PRAGMA synchronous=OFF"));
    // Unused space is zeroed, so identical inputs give identical bytes.
    exec(QStringLiteral("PRAGMA secure_delete=ON"));
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(data::sqlite::quoted(table_), layout_.columnsSql()));
    exec(QStringLiteral("BEGIN"));
    const QString sql =
        QStringLiteral("INSERT INTO %1 VALUES (%2)")
            .arg(data::sqlite::quoted(table_), QStringList(layout_.columns.size(), QStringLiteral("?")).join(u','));
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &insert_, nullptr) != SQLITE_OK)
        fail(sql);
}

TableWriter::~TableWriter()
{
    if (db_)
        discard();
}

void TableWriter::discard()
{
    close();
    QFile::remove(partPath_);
}

void TableWriter::close()
{
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    sqlite3_close(db_);
    db_ = nullptr;
}

void TableWriter::add(const QStringList &row)
{
    // All texts of the row encoded into one reused buffer: no allocation per field.
    qsizetype needed = 0;
    for (const QString &value : row)
        needed += value.size() * 3;
    if (buffer_.size() < needed)
        buffer_.resize(needed);
    char *out = buffer_.data();
    encoded_.resize(std::size_t(layout_.columns.size()));
    for (int i = 0; i < layout_.columns.size(); ++i) {
        char *const start = out;
        out = utf8_.appendToBuffer(out, row.value(i));
        encoded_[std::size_t(i)] = std::string_view(start, std::size_t(out - start));
    }
    add(encoded_);
}

void TableWriter::add(const std::vector<std::string_view> &row)
{
    for (int i = 0; i < layout_.columns.size(); ++i) {
        const std::string_view value = data::cutToSize(row[std::size_t(i)], layout_.columns[i].size);
        if (value.empty())
            sqlite3_bind_null(insert_, i + 1);
        else // the row outlives the step
            sqlite3_bind_text(insert_, i + 1, value.data(), int(value.size()), SQLITE_STATIC);
    }
    if (sqlite3_step(insert_) != SQLITE_DONE)
        fail(QStringLiteral("cannot insert"));
    sqlite3_reset(insert_);
}

void TableWriter::finish()
{
    for (const QString &column : layout_.indexes)
        exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                 .arg(data::sqlite::quoted(table_ + u'_' + column), data::sqlite::quoted(table_),
                      data::sqlite::quoted(column)));
    // No VACUUM: nothing was freed, and rewriting the whole file would double
    // the time a large import takes.
    exec(QStringLiteral("COMMIT"));
    // Readers expect the rollback journal the program itself uses.
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    close();
    // Nothing was synchronised while writing: the whole file reaches the disk
    // before it takes the table's name.
    if (!data::replaceDurably(partPath_, path_)) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        discard();
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path_, reason).toStdString());
    }
}

void TableWriter::exec(const QString &sql)
{
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

void TableWriter::fail(const QString &what) const
{
    throw std::runtime_error(
        QStringLiteral("%1: %2: %3").arg(path_, what, QString::fromUtf8(sqlite3_errmsg(db_))).toStdString());
}

} // namespace dataio
