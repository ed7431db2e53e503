#include "dataio/rowreader.h"

#include "dataio/language.h"

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

RowReader::RowReader(const QString &path, const TableLayout &layout, const ReadOptions &options,
                     const QStringList &required)
    : layout_(layout), file_(path)
{
    if (!file_.open(QIODevice::ReadOnly))
        failAt(path, 0, say("не удаётся прочитать файл: ", "cannot read the file: ") + file_.errorString());
    reader_ = std::make_unique<DelimitedReader>(file_, options.encoding, options.separator);
    if (!options.columns.isEmpty()) {
        mapColumns(options.columns, 0, required);
        return;
    }
    do {
        if (!reader_->next(record_))
            failAt(path, 0,
                   say("файл пуст: нет строки с названиями столбцов", "the file is empty: no line names the columns"));
    } while (allEmpty(record_.fields));
    if (!record_.problem.isEmpty())
        failAt(path, record_.line, record_.problem);
    mapColumns(record_.fields, record_.line, required);
}

void RowReader::mapColumns(const QStringList &names, int line, const QStringList &required)
{
    const QString expected = layout_.names().join(QStringLiteral(", "));
    std::vector<bool> seen(std::size_t(layout_.columns.size()), false);
    for (const QString &raw : names) {
        const QString name = raw.simplified();
        const int column = name.isEmpty() && line == 0 ? -1 : layout_.indexOf(name);
        if (column < 0 && !(name.isEmpty() && line == 0))
            failAt(file_.fileName(), line,
                   say("неизвестный столбец \"%1\"; ожидаются %2 (или их русские названия), "
                       "а для файла без такой строки --columns",
                       "unknown column \"%1\"; expected %2 (or their Russian titles), "
                       "or --columns for a file without such a line")
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

bool RowReader::next(Row &row)
{
    do {
        if (!reader_->next(record_))
            return false;
    } while (allEmpty(record_.fields));
    row.line = record_.line;
    row.problem = record_.problem;
    row.note = record_.lineBreaks == 0 ? QString()
                                       : say("перевод строки внутри поля заменён пробелом (строки %1–%2)",
                                             "a line break inside a field was made a space (lines %1–%2)")
                                             .arg(row.line)
                                             .arg(row.line + record_.lineBreaks);
    row.values.resize(layout_.columns.size());
    row.values.fill(QString());
    const qsizetype expected = qsizetype(targets_.size());
    const qsizetype count = record_.fields.size();
    const bool extraEmpty = count > expected && allEmpty(record_.fields.mid(expected));
    if (row.problem.isEmpty() && count != expected && !extraEmpty)
        row.problem = say("полей %1, а ожидается %2", "%1 fields where %2 are expected").arg(count).arg(expected);
    for (qsizetype i = 0; i < qMin(count, expected); ++i) {
        const int column = targets_[std::size_t(i)];
        if (column < 0)
            continue;
        // On temporaries both work in place, without a copy per field.
        QString value = std::move(record_.fields[i]).simplified();
        row.values[column] = layout_.columns[column].searched ? std::move(value).toUpper() : std::move(value);
    }
    return true;
}

} // namespace dataio
