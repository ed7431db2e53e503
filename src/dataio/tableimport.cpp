#include "dataio/tableimport.h"

#include "dataio/language.h"
#include "dataio/paradoxwriter.h"
#include "dataio/tablewriter.h"

#include "data/sqlitedb.h"

#include <QSaveFile>
#include <QSet>
#include <stdexcept>

namespace dataio {

namespace {

using RowCheck = std::function<QString(const Utf8Row &row)>;

template <typename Text> bool allDigits(const Text &text)
{
    return std::all_of(text.begin(), text.end(), [](auto c) { return c >= '0' && c <= '9'; });
}

QString tooLong(const TableLayout &layout, const std::vector<std::string_view> &values)
{
    for (int i = 0; i < layout.columns.size(); ++i) {
        const Column &column = layout.columns[i];
        if (characterCount(values[std::size_t(i)]) > column.size)
            return say("%1 длиннее %2 символов", "%1 is longer than %2 characters").arg(column.name).arg(column.size);
    }
    return {};
}

// Reads every row, lists each problem, and writes the table only when every
// row passed (or invalid rows are to be skipped).
ImportResult importTable(const QString &inputPath, const QString &tablePath, const ImportOptions &options,
                         const TableLayout &layout, const QStringList &required, const RowCheck &check,
                         const std::function<QList<Problem>()> &finalCheck = {})
{
    RowReader reader(inputPath, layout, options, required);
    TableWriter writer(tablePath, layout);
    ImportResult result;
    const auto report = [&](const Problem &problem) {
        ++result.invalid;
        if (options.onProblem)
            options.onProblem(problem);
    };
    Utf8Row row;
    for (int count = 1; reader.next(row); ++count) {
        QString problem = row.problem;
        if (problem.isEmpty())
            problem = tooLong(layout, row.values);
        if (problem.isEmpty())
            problem = check(row);
        if (problem.isEmpty()) {
            writer.add(row.values);
            ++result.written;
            if (!row.note.isEmpty() && options.onWarning)
                options.onWarning({row.line, row.note});
        } else {
            report({row.line, problem});
        }
        if (options.onProgress && count % 4096 == 0)
            options.onProgress(reader.bytesRead(), reader.size());
    }
    if (finalCheck) {
        for (const Problem &problem : finalCheck())
            report(problem);
    }
    if (result.invalid > 0 && !options.skipInvalid)
        return result;
    writer.finish();
    result.saved = true;
    return result;
}

// Remembers the first line of every number of 1 to 5 digits.
class NumberLines {
public:
    NumberLines() : lines_(kCount, 0) {}
    // 0 for a number not seen before, else the line it was first seen on.
    int firstLineOf(std::string_view number, int line)
    {
        static constexpr int kOffset[] = {0, 0, 10, 110, 1110, 11110};
        int value = 0;
        for (const char digit : number)
            value = value * 10 + (digit - '0');
        int &first = lines_[std::size_t(kOffset[number.size()] + value)];
        if (first != 0)
            return first;
        first = line;
        return 0;
    }

private:
    static constexpr int kCount = 111110;
    std::vector<int> lines_;
};

const QStringList &regions()
{
    static const QStringList names = {QStringLiteral("БРЕСТСКАЯ"),  QStringLiteral("ВИТЕБСКАЯ"),
                                      QStringLiteral("ГОМЕЛЬСКАЯ"), QStringLiteral("ГРОДНЕНСКАЯ"),
                                      QStringLiteral("МИНСКАЯ"),    QStringLiteral("МОГИЛЕВСКАЯ")};
    return names;
}

} // namespace

ImportResult importDirectory(const QString &inputPath, const QString &tablePath, const ImportOptions &options)
{
    NumberLines numbers;
    const auto check = [&](const Utf8Row &row) -> QString {
        // Digits are single bytes, so the byte count is the length here.
        const std::string_view tel = row.values[0];
        if (tel.empty() || tel.size() > 5 || !allDigits(tel))
            return say("номер \"%1\" не из 1–5 цифр", "number \"%1\" is not 1 to 5 digits").arg(row.string(0));
        if (options.allowDuplicateNumbers)
            return {};
        if (const int first = numbers.firstLineOf(tel, row.line))
            return say("номер %1 уже был в строке %2", "number %1 already appears on line %2")
                .arg(row.string(0))
                .arg(first);
        return {};
    };
    return importTable(inputPath, tablePath, options, directoryLayout(), {QStringLiteral("Tel")}, check);
}

ImportResult importDialingCodes(const QString &inputPath, const QString &tablePath, const ImportOptions &options)
{
    QSet<QString> seen;
    const auto check = [&](const Utf8Row &row) -> QString {
        const QStringList values = {row.string(0), row.string(1), row.string(2)};
        if (!regions().contains(values[0]))
            return say("область \"%1\" не из шести: %2", "region \"%1\" is not one of the six: %2")
                .arg(values[0], regions().join(QStringLiteral(", ")));
        if (values[1].isEmpty())
            return say("не указан населённый пункт", "the locality is missing");
        if (values[2].isEmpty() || !allDigits(values[2]))
            return say("код \"%1\" не из цифр", "code \"%1\" is not digits").arg(values[2]);
        seen.insert(values[0]);
        return {};
    };
    const auto everyRegion = [&] {
        QList<Problem> problems;
        for (const QString &region : regions()) {
            if (!seen.contains(region))
                problems.append(
                    {0, say("нет ни одного населённого пункта области %1", "no locality of region %1").arg(region)});
        }
        return problems;
    };
    return importTable(inputPath, tablePath, options, dialingCodesLayout(), dialingCodesLayout().names(), check,
                       everyRegion);
}

void forEachRow(const QString &tablePath, const TableLayout &layout,
                const std::function<void(const QStringList &)> &row)
{
    using namespace data::sqlite;
    Connection connection = Connection::openForQuery();
    const QString table = connection.attachReadOnly(tablePath, QStringLiteral("source"));
    // Bare names: a quoted name the table lacks would read as a text literal.
    Statement select(
        connection,
        QStringLiteral("SELECT %1 FROM source.%2 ORDER BY rowid").arg(layout.names().join(u','), quoted(table)));
    QStringList values(layout.columns.size());
    while (select.step()) {
        for (int i = 0; i < values.size(); ++i)
            values[i] = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(select.handle(), i)));
        row(values);
    }
}

ExportResult exportTable(const QString &tablePath, const TableLayout &layout, const QString &outputPath,
                         const ExportOptions &options)
{
    ExportResult result;
    if (options.format == ExportFormat::Paradox) {
        ParadoxWriter writer(outputPath, layout.columns);
        forEachRow(tablePath, layout, [&](const QStringList &values) {
            writer.add(values);
            ++result.written;
        });
        writer.finish();
        result.unrepresentable = writer.unrepresentable();
        return result;
    }
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("%1: %2").arg(outputPath, file.errorString()).toStdString());
    DelimitedWriter writer(file, options.encoding, options.separator);
    writer.write(layout.names());
    forEachRow(tablePath, layout, [&](const QStringList &values) {
        writer.write(values);
        ++result.written;
    });
    if (!file.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(outputPath, file.errorString()).toStdString());
    result.unrepresentable = writer.unrepresentable();
    return result;
}

} // namespace dataio
