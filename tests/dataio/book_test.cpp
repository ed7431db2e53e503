// The personal phone book to and from vCard and CSV files.
#include "dataiotest.h"

#include "dataio/phonebook.h"
#include "dataio/tableimport.h"

#include "data/table.h"

#include <QDir>
#include <QFile>

using namespace dataio;

namespace {

const QString kColumns = QStringLiteral("FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), MAIL VARCHAR(50)");

class BookTest : public DataIoTest {
protected:
    BookImportResult importInto(const QString &book, const QString &file, BookImportOptions options = {})
    {
        options.onProblem = [this](const Problem &p) { problems.push_back({QString::number(p.line), p.text}); };
        options.onWarning = [this](const Problem &p) { warnings.push_back({QString::number(p.line), p.text}); };
        return importBook(book, readBookFile(file, {}), options);
    }
    std::vector<QStringList> problems;
    std::vector<QStringList> warnings;
};

TEST_F(BookTest, ExportThenImportGivesTheSameBook)
{
    makeTable("basamy.db", kColumns,
              {{"Иванов Иван", "ул. Ленина, 5; кв. 3", "2-11-00", "ivanov@example.by"},
               {"Ёлкина \"Маша\"", QString(), "+375 29 1234567", QString()},
               {"Back\\slash", "Мира 1", QString(), "m@example.by"}});
    QDir().mkdir("copy");
    QFile::copy(path("basamy.db"), path("backup.db")); // the book under another name
    const auto exportTo = [&](const QString &format, const QString &file) {
        if (format == "vcard")
            exportBookVCards("backup.db", file);
        else
            exportTable("backup.db", phoneBookLayout(), file, {});
    };
    for (const QString format : {"vcard", "csv"}) {
        SCOPED_TRACE(format.toStdString());
        QFile::remove(path("copy/basamy.db"));
        exportTo(format, path("book." + format));
        const BookImportResult result = importInto(path("copy/basamy.db"), path("book." + format));
        EXPECT_EQ(result.added, 3);
        EXPECT_TRUE(problems.empty() && warnings.empty());
        EXPECT_EQ(rowsOf("copy/basamy.db"), rowsOf("basamy.db"));
        // The phone book window opens the table afresh at its next activation.
        data::Table table;
        table.setTableName("copy/basamy.db");
        table.open();
        EXPECT_EQ(table.recordCount(), 3);
    }
}

TEST_F(BookTest, AddsOnlyNewNamesAndNumbersCutToTheFields)
{
    makeTable("basamy.db", kColumns, {{"Иванов Иван", QString(), "2-11-00", QString()}});
    writeFile(path("in.csv"), utf8("Телефон,\"Фамилия, Имя, Отчество\",e-mail\n"
                                   "2-11-00,Иванов Иван,\n" // already there
                                   "2-11-01,Иванов Иван,\n" // another number
                                   "2-11-02,Константинопольский Константин Константинович,\n"
                                   "2-11-02,Константинопольский Константин Константинович,\n"
                                   "+375 (29) 111-22-33,Петрова Анна,\n"));
    BookImportOptions dryRun;
    dryRun.dryRun = true;
    const QByteArray before = readFile(path("basamy.db"));
    BookImportResult result = importInto("basamy.db", path("in.csv"), dryRun);
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(result.alreadyThere, 2);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(readFile(path("basamy.db")), before);

    warnings.clear();
    result = importInto("basamy.db", path("in.csv"));
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(warnings, (std::vector<QStringList>{{"4", "cut to the field size: FIO (30)"},
                                                  {"6", "number written without spaces and brackets: +375291112233"}}));
    EXPECT_EQ(rowsOf("basamy.db"),
              (std::vector<QStringList>{{"Иванов Иван", "<null>", "2-11-00", "<null>"},
                                        {"Иванов Иван", "<null>", "2-11-01", "<null>"},
                                        {"Константинопольский Константин", "<null>", "2-11-02", "<null>"},
                                        {"Петрова Анна", "<null>", "+375291112233", "<null>"}}));
    EXPECT_EQ(importInto("basamy.db", path("in.csv")).added, 0) << "a second import adds nothing";
}

TEST_F(BookTest, AnInvalidRecordLeavesTheBookAsItWas)
{
    makeTable("basamy.db", kColumns, {{"Иванов Иван", QString(), "2-11-00", QString()}});
    writeFile(path("in.vcf"),
              utf8("BEGIN:VCARD\nVERSION:3.0\nFN:Новый\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nTEL:5\nEND:VCARD\n"));
    const QByteArray before = readFile(path("basamy.db"));
    EXPECT_FALSE(importInto("basamy.db", path("in.vcf")).saved);
    EXPECT_EQ(problems, (std::vector<QStringList>{{"5", "the card has no name"}}));
    EXPECT_EQ(readFile(path("basamy.db")), before);

    BookImportOptions skip;
    skip.skipInvalid = true;
    EXPECT_EQ(importInto("basamy.db", path("in.vcf"), skip).added, 1);
    EXPECT_EQ(rowsOf("basamy.db").back().front(), "Новый");
}

} // namespace
