#include "dataio/rowreader.h"

#include "dataio/fieldtext.h"
#include "dataio/language.h"

#include "data/dataset.h"
#include "data/paradoxtable.h"

#include <QFileInfo>
#include <stdexcept>

namespace dataio {

namespace {
[[noreturn]] void failAt(const QString &path, int line, const QString &why)
{
    const QString where = line > 0 ? QStringLiteral("%1:%2").arg(path).arg(line) : path;
    throw std::runtime_error((where + QStringLiteral(": ") + why).toStdString());
}

bool allEmpty(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
}
} // namespace

std::optional<QHash<QString, QString>> renamesNamed(const QString &list)
{
    QHash<QString, QString> renames;
    for (const QString &pair : list.split(u',')) {
        const qsizetype equals = pair.indexOf(u'=');
        const QString source = pair.left(equals).simplified();
        const QString ours = pair.mid(equals + 1).simplified();
        if (equals < 0 || source.isEmpty() || renames.contains(source.toLower()))
            return std::nullopt;
        renames.insert(source.toLower(), ours);
    }
    return renames;
}

RowReader::RowReader(const QString &path, const TableLayout &layout, const ReadOptions &options,
                     const QStringList &required)
    : layout_(layout), file_(path)
{
    if (!file_.open(QIODevice::ReadOnly))
        failAt(path, 0, say("не удаётся прочитать файл: ", "cannot read the file: ") + file_.errorString());
    if (data::ParadoxTable::recognises(file_.peek(0x58))) {
        table_ = std::make_unique<data::Records>();
        try {
            data::readParadoxFile(path, QFileInfo(path).fileName(), *table_);
        } catch (const data::EDatabaseError &error) {
            failAt(path, 0, error.message());
        }
        mapColumns(table_->names, 0, required, options);
        return;
    }
    reader_ = std::make_unique<DelimitedReader>(file_, options.encoding, options.separator);
    if (!options.columns.isEmpty()) {
        mapColumns(options.columns, 0, required, options);
        return;
    }
    TextRecord header;
    do {
        if (!reader_->next(header))
            failAt(path, 0,
                   say("файл пуст: нет строки с названиями столбцов", "the file is empty: no line names the columns"));
    } while (allEmpty(header.fields));
    if (!header.problem.isEmpty())
        failAt(path, header.line, header.problem);
    mapColumns(header.fields, header.line, required, options);
}

qint64 RowReader::bytesRead() const
{
    return table_ ? tableRow_ : reader_->bytesRead();
}

qint64 RowReader::size() const
{
    return table_ ? table_->rowCount() : file_.size();
}

void RowReader::mapColumns(const QStringList &names, int line, const QStringList &required, const ReadOptions &options)
{
    const QString expected = layout_.names().join(QStringLiteral(", "));
    std::vector<bool> seen(std::size_t(layout_.columns.size()), false);
    for (const QString &raw : names) {
        const QString own = raw.simplified();
        const auto renamed = options.renames.constFind(own.toLower());
        const QString name = renamed == options.renames.constEnd() ? own : *renamed;
        // An empty name skips a column: in --columns, or mapped to nothing.
        const bool skipped = name.isEmpty() && (line == 0 || renamed != options.renames.constEnd());
        const int column = skipped ? -1 : layout_.indexOf(name);
        if (column < 0 && !skipped)
            failAt(file_.fileName(), line,
                   say("неизвестный столбец \"%1\"; ожидаются %2 (или их русские названия); другие названия "
                       "сопоставьте через --map, а для файла без строки названий укажите --columns",
                       "unknown column \"%1\"; expected %2 (or their Russian titles); map other names "
                       "with --map, or give --columns for a file without a line of names")
                       .arg(name, expected));
        if (column >= 0 && seen[std::size_t(column)])
            failAt(file_.fileName(), line, say("столбец %1 назван дважды", "column %1 is named twice").arg(name));
        if (column >= 0)
            seen[std::size_t(column)] = true;
        targets_.push_back(column);
    }
    for (const QString &name : required) {
        if (!seen[std::size_t(layout_.indexOf(name))])
            failAt(file_.fileName(), line, say("нет столбца %1", "column %1 is missing").arg(name));
    }
}

// The next record of the source into record_, a Paradox record numbered
// from 1 as its line.
bool RowReader::nextRecord()
{
    if (!table_)
        return reader_->next(record_);
    if (tableRow_ == table_->rowCount())
        return false;
    record_.line = ++tableRow_;
    record_.fields.resize(std::size_t(table_->columnCount()));
    for (int column = 0; column < table_->columnCount(); ++column) {
        const std::string_view text = table_->text(tableRow_ - 1, column);
        record_.fields[std::size_t(column)] = QByteArrayView(text.data(), qsizetype(text.size()));
    }
    return true;
}

// Tidies every field of record_ into text_, upper case where it fills a
// searched column. Text in UTF-8 (a Paradox table's is, once read) takes
// the byte path where it can; anything else is decoded first.
void RowReader::tidyFields()
{
    text_.clear();
    ends_.clear();
    decodeProblem_.clear();
    const bool utf8 = table_ || reader_->encoding() == Encoding::Utf8;
    for (std::size_t i = 0; i < record_.fields.size(); ++i) {
        const QByteArrayView bytes = record_.fields[i];
        const int column = i < targets_.size() ? targets_[i] : -1;
        const bool upper = column >= 0 && layout_.columns[column].searched;
        if (!utf8 || !appendTidyUtf8(bytes, upper, text_)) {
            QString problem;
            appendTidy(table_ ? QString::fromUtf8(bytes) : reader_->decode(bytes, problem), upper, text_);
            if (decodeProblem_.isEmpty())
                decodeProblem_ = problem;
        }
        ends_.push_back(text_.size());
    }
}

std::string_view RowReader::tidied(std::size_t field) const
{
    const std::size_t from = field == 0 ? 0 : ends_[field - 1];
    return std::string_view(text_).substr(from, ends_[field] - from);
}

bool RowReader::blankFrom(std::size_t field) const
{
    return text_.size() == (field == 0 ? 0 : ends_[field - 1]);
}

bool RowReader::next(Utf8Row &row)
{
    do {
        if (!nextRecord())
            return false;
        tidyFields();
    } while (blankFrom(0));
    row.line = record_.line;
    row.problem = record_.problem.isEmpty() ? decodeProblem_ : record_.problem;
    row.note = record_.lineBreaks == 0 ? QString()
                                       : say("перевод строки внутри поля заменён пробелом (строки %1–%2)",
                                             "a line break inside a field was made a space (lines %1–%2)")
                                             .arg(row.line)
                                             .arg(row.line + record_.lineBreaks);
    row.values.assign(std::size_t(layout_.columns.size()), std::string_view());
    const std::size_t expected = targets_.size();
    const std::size_t count = record_.fields.size();
    const bool extraEmpty = count > expected && blankFrom(expected);
    if (row.problem.isEmpty() && count != expected && !extraEmpty)
        row.problem = say("полей %1, а ожидается %2", "%1 fields where %2 are expected").arg(count).arg(expected);
    for (std::size_t i = 0; i < std::min(count, expected); ++i) {
        if (targets_[i] >= 0)
            row.values[std::size_t(targets_[i])] = tidied(i);
    }
    return true;
}

bool RowReader::next(Row &row)
{
    if (!next(utf8Row_))
        return false;
    row.line = utf8Row_.line;
    row.problem = utf8Row_.problem;
    row.note = utf8Row_.note;
    row.values.resize(layout_.columns.size());
    for (int column = 0; column < layout_.columns.size(); ++column)
        row.values[column] = utf8Row_.string(column);
    return true;
}

} // namespace dataio
