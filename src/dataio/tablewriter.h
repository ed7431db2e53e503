#pragma once

#include "dataio/tablelayout.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <sqlite3.h>
#include <string_view>
#include <vector>

namespace dataio {

// Writes one table file from scratch the way the program's data layer reads
// it: a table named after the file, an empty text stored as null, every text
// cut to its field's size in characters. Rows go in one transaction into a
// temporary file beside the target; finish() builds the indexes and puts the
// file in place, so a failed or abandoned write leaves the target untouched.
// Identical rows give a byte-identical file. Failures throw std::runtime_error.
class TableWriter {
public:
    TableWriter(const QString &path, const TableLayout &layout);
    ~TableWriter();
    TableWriter(const TableWriter &) = delete;
    TableWriter &operator=(const TableWriter &) = delete;

    void add(const QStringList &row);                   // in the layout's column order
    void add(const std::vector<std::string_view> &row); // the same in UTF-8
    void finish();

private:
    void start();
    void discard();
    void exec(const QString &sql);
    [[noreturn]] void fail(const QString &what) const;
    void close();

    QString path_;
    QString partPath_;
    const TableLayout &layout_;
    QString table_;
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
    QByteArray buffer_;
    std::vector<std::string_view> encoded_;
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

} // namespace dataio
