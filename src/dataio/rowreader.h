#pragma once

#include "dataio/delimitedtext.h"
#include "dataio/problem.h"
#include "dataio/tablelayout.h"

#include "data/records.h"

#include <QFile>
#include <QHash>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dataio {

// How to read a delimited file.
struct ReadOptions {
    Encoding encoding = Encoding::Utf8;
    char separator = 0; // 0: detected
    // The file's columns in order, for a file whose first line is data; an
    // empty name skips that column. Empty: the first line names the columns.
    QStringList columns;
    // The source's own column names (a header line's, a Paradox table's
    // fields') mapped to our field names or titles, by lower-case source name.
    QHash<QString, QString> renames;
};

// "Tel=Номер,Abon=Наименование" as renames; nothing for a malformed list.
std::optional<QHash<QString, QString>> renamesNamed(const QString &list);

using ProgressSink = std::function<void(qint64 done, qint64 total)>;

// A row of a delimited file in a table layout's column order, spaces trimmed
// and runs of white space (line breaks too) made one space; the searched
// columns upper case. Columns the file lacks are empty.
struct Row {
    int line = 0;
    QStringList values;
    QString problem; // empty when the row is well-formed
    QString note;    // what was changed in a well-formed row
};

// The same row with its values in UTF-8, the table files' encoding, so that
// a large import writes them without a QString per field. The values stay
// valid until the next read.
struct Utf8Row {
    int line = 0;
    std::vector<std::string_view> values;
    QString problem;
    QString note;

    QString string(int column) const { return QString::fromUtf8(values[std::size_t(column)]); }
};

// Reads rows of one table layout from a CSV or TSV file whose header (or
// --columns) names the layout's columns by field name or display label in any
// order, or from a Paradox table (told by its content) whose fields name
// them; a source's own names are first mapped through the renames. Throws
// std::runtime_error for an unreadable file or a bad header.
class RowReader {
public:
    RowReader(const QString &path, const TableLayout &layout, const ReadOptions &options, const QStringList &required);

    bool next(Row &row); // false at the end; blank lines are skipped
    bool next(Utf8Row &row);
    qint64 bytesRead() const;
    qint64 size() const;

private:
    void mapColumns(const QStringList &names, int line, const QStringList &required, const ReadOptions &options);
    bool nextRecord();
    void tidyFields();
    std::string_view tidied(std::size_t field) const;
    bool blankFrom(std::size_t field) const; // this and every later field tidy to nothing

    const TableLayout &layout_;
    QFile file_;
    std::unique_ptr<DelimitedReader> reader_;
    std::unique_ptr<data::Records> table_; // a Paradox source, read whole
    int tableRow_ = 0;
    std::vector<int> targets_; // layout column of each file column; -1 skips it
    RawRecord record_;
    // The record's fields tidied (see fieldtext.h), one after another, and
    // where each ends; the first problem decoding them found.
    std::string text_;
    std::vector<std::size_t> ends_;
    QString decodeProblem_;
    Utf8Row utf8Row_; // of next(Row &)
};

} // namespace dataio
