#include "dataio/phonebook.h"

#include "dataio/language.h"
#include "dataio/tableimport.h"
#include "dataio/tablewriter.h"

#include "data/field.h"
#include "data/sqlitedb.h"
#include "data/telephone.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <optional>
#include <stdexcept>

namespace dataio {

namespace {

QString keyOf(const QStringList &values)
{
    return values.value(0) + u'\x1f' + values.value(2);
}

// A vCard file by its name or by its lines: a card's BEGIN or END, or a
// VERSION first (a card that lost its BEGIN). Read as cards, such a file is
// told what is wrong with it rather than that it has unknown columns.
bool isVCardFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"vcf" || suffix == u"vcard")
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    if (head.trimmed().toUpper().startsWith("VERSION:"))
        return true;
    for (const QByteArray &line : head.split('\n')) {
        const QByteArray upper = line.trimmed().toUpper();
        if (upper.startsWith("BEGIN:VCARD") || upper.startsWith("END:VCARD"))
            return true;
    }
    return false;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            (path + say(": не удаётся прочитать файл: ", ": cannot read the file: ") + file.errorString())
                .toStdString());
    return file.readAll();
}

// A number too long for its field loses its spaces, dashes, dots and
// brackets before anything is cut: "+375 (29) 111-22-33" would otherwise
// lose digits.
void compactNumber(BookEntry &entry)
{
    constexpr int kTel = 2;
    const int size = phoneBookLayout().columns[kTel].size;
    QString &number = entry.values[kTel];
    if (characterCount(number) <= size)
        return;
    number = data::withoutSeparators(number);
    entry.notes.append(
        {entry.line,
         say("номер записан без пробелов и скобок: %1", "number written without spaces and brackets: %1").arg(number)});
}

// Cuts each text to its field's size; a note names the fields that were cut.
void cutToFields(BookEntry &entry)
{
    compactNumber(entry);
    QStringList cut;
    const TableLayout &layout = phoneBookLayout();
    for (int i = 0; i < layout.columns.size(); ++i) {
        const QString value = data::cutToSize(entry.values.value(i), layout.columns[i].size);
        if (value != entry.values.value(i))
            cut.append(QStringLiteral("%1 (%2)").arg(layout.columns[i].name).arg(layout.columns[i].size));
        entry.values[i] = value;
    }
    if (!cut.isEmpty())
        entry.notes.prepend(
            {entry.line,
             say("обрезано до размера поля: %1", "cut to the field size: %1").arg(cut.join(QStringLiteral(", ")))});
}

} // namespace

QList<BookEntry> readBookFile(const QString &path, const ReadOptions &options)
{
    if (isVCardFile(path))
        return readVCards(readAll(path));
    QList<BookEntry> entries;
    RowReader reader(path, phoneBookLayout(), options, {QStringLiteral("FIO")});
    Row row;
    while (reader.next(row)) {
        BookEntry entry{row.line, row.values, {}, row.problem};
        if (!row.note.isEmpty())
            entry.notes.append({row.line, row.note});
        if (entry.problem.isEmpty() && entry.values[0].isEmpty())
            entry.problem = say("нет Ф.И.О.", "the name is missing");
        entries.append(entry);
    }
    return entries;
}

BookImportResult importBook(const QString &bookPath, const QList<BookEntry> &entries, const BookImportOptions &options)
{
    BookImportResult result;
    for (const BookEntry &entry : entries) {
        if (!entry.problem.isEmpty()) {
            ++result.invalid;
            if (options.onProblem)
                options.onProblem({entry.line, entry.problem});
        }
    }
    if (result.invalid > 0 && !options.skipInvalid)
        return result;

    const bool exists = QFileInfo::exists(bookPath);
    if (!exists && !options.dryRun)
        TableWriter(bookPath, phoneBookLayout()).finish();
    using namespace data::sqlite;
    std::optional<Connection> book;
    QSet<QString> present;
    if (!options.dryRun) {
        book.emplace(Connection::openTable(bookPath));
        // Taken before reading, so no other writer slips in between.
        book->exec("BEGIN IMMEDIATE");
    }
    if (exists)
        forEachRow(bookPath, phoneBookLayout(), [&](const QStringList &values) { present.insert(keyOf(values)); });

    std::optional<Statement> insert;
    if (book)
        insert.emplace(
            *book,
            QStringLiteral("INSERT INTO %1 (FIO, ADR, TEL, MAIL) VALUES (?, ?, ?, ?)").arg(quoted(book->table())));
    for (BookEntry entry : entries) {
        if (!entry.problem.isEmpty())
            continue;
        cutToFields(entry);
        if (present.contains(keyOf(entry.values))) {
            ++result.alreadyThere;
            continue;
        }
        present.insert(keyOf(entry.values));
        for (const Problem &note : entry.notes) {
            if (options.onWarning)
                options.onWarning(note);
        }
        if (insert) {
            for (int i = 0; i < 4; ++i)
                insert->bindTextOrNull(i + 1, entry.values[i]);
            insert->run();
            sqlite3_reset(insert->handle());
        }
        ++result.added;
        if (options.onAdd)
            options.onAdd(entry);
    }
    if (book) {
        insert.reset();
        book->exec("COMMIT");
        result.saved = true;
    }
    return result;
}

int exportBookVCards(const QString &bookPath, const QString &outputPath)
{
    QList<QStringList> records;
    forEachRow(bookPath, phoneBookLayout(), [&](const QStringList &values) { records.append(values); });
    QSaveFile file(outputPath);
    const QByteArray bytes = vCardsOf(records);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(outputPath, file.errorString()).toStdString());
    return int(records.size());
}

} // namespace dataio
