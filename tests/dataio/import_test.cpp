// The directory and dialing codes from delimited files as spreadsheets and
// publishers write them, and every kind of invalid row.
#include "dataiotest.h"

#include "dataio/delimitedtext.h"
#include "dataio/fieldtext.h"
#include "dataio/tableimport.h"
#include "dataio/tablewriter.h"

#include "data/field.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace dataio;

namespace {

const QString kNull = QStringLiteral("<null>");

class ImportTest : public DataIoTest {
protected:
    ImportResult importDirectoryFrom(const QByteArray &bytes, ImportOptions options = {})
    {
        writeFile(path("in.csv"), bytes);
        options.onProblem = [this](const Problem &p) { problems.push_back({QString::number(p.line), p.text}); };
        options.onWarning = [this](const Problem &p) { warnings.push_back({QString::number(p.line), p.text}); };
        return importDirectory(path("in.csv"), path("data.db"), options);
    }
    std::vector<QStringList> problems; // line, text
    std::vector<QStringList> warnings;
};

struct ReadCase {
    const char *name;
    QByteArray bytes;
    ReadOptions options;
    std::vector<QStringList> rows;
    std::vector<QStringList> warnings;
};

TEST_F(ImportTest, ReadsFilesAsSpreadsheetsWriteThem)
{
    const ReadOptions utf8Detected;
    ReadOptions cp1251;
    cp1251.encoding = Encoding::Cp1251;
    ReadOptions noHeader;
    noHeader.columns = QStringList{"Tel", "", "adres"};
    const ReadCase cases[] = {
        {"BOM, CRLF, semicolons, Russian titles in another order, quoted separators, quotes and line breaks",
         utf8("\xEF\xBB\xBF"
              "АДРЕС;телефон;\"Абонент\";Отдел\r\n"
              "\"ленина 5; кв. 3\";  12345 ;\"иванов, и.и.\";\r\n"
              "\"мира\r\n 7\";2;\"ООО \"\"Ромашка\"\"\";Бухгалтерия\r\n"),
         utf8Detected,
         {{"12345", "ИВАНОВ, И.И.", kNull, "ЛЕНИНА 5; КВ. 3"}, {"2", "ООО \"РОМАШКА\"", "Бухгалтерия", "МИРА 7"}},
         {{"3", "a line break inside a field was made a space (lines 3–4)"}}},
        {"code page 1251, tabs, no Otdel column",
         QByteArray("\xD2\xE5\xEB\xE5\xF4\xEE\xED\x09\xC0\xE1\xEE\xED\xE5\xED\xF2\x09\xC0\xE4\xF0\xE5\xF1\x0D\x0A"
                    "\x34\x32\x09\xCF\xE5\xF2\xF0\xEE\xE2\xE0\x20\xA8\xEB\xEA\xE0\x09\xF3\xEB\x2E\x20\xCC\xE8\xF0\xE0"
                    "\x20\x31\x0D\x0A"),
         cp1251,
         {{"42", "ПЕТРОВА ЁЛКА", kNull, "УЛ. МИРА 1"}},
         {}},
        {"field names in lower case, commas, LF, blank lines and a spreadsheet's trailing empty fields",
         utf8("tel,abon,otdel,adres\n\n7,a,b,c,,\n,,,\n8,,,\n"),
         utf8Detected,
         {{"7", "A", "b", "C"}, {"8", kNull, kNull, kNull}},
         {}},
        {"--columns for a file without a header, one column skipped",
         utf8("99,ignored,садовая 9\n"),
         noHeader,
         {{"99", kNull, kNull, "САДОВАЯ 9"}},
         {}},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        ImportOptions options;
        static_cast<ReadOptions &>(options) = c.options;
        warnings.clear();
        const ImportResult result = importDirectoryFrom(c.bytes, options);
        EXPECT_TRUE(problems.empty()) << problems.front().join(": ").toStdString();
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_TRUE(result.saved);
        EXPECT_EQ(rowsOf("data.db"), c.rows);
    }
}

TEST_F(ImportTest, ListsEveryInvalidRowWithItsLineAndWritesNothing)
{
    const QString longAddress(61, u'А');
    const QByteArray file = utf8("Tel,Abon,Otdel,Adres\n"
                                 "100,ОК,,\n"   // 2: valid
                                 "1a,X,,\n"     // 3
                                 ",X,,\n"       // 4
                                 "123456,X,,\n" // 5
                                 "100,X,,\n"    // 6: duplicate of line 2
                                 "101,X,,") +
                            longAddress.toUtf8()      // 7
                            + utf8("\n102,X\n"        // 8
                                   "103,X,,,extra\n"  // 9
                                   "104,\"X\"Y,,\n"   // 10
                                   "105,\xC8\xC2,,\n" // 11: code page 1251 read as UTF-8
                                   "106,\"open,,\n"); // 12
    const std::vector<QStringList> expected = {
        {"3", "number \"1a\" is not 1 to 5 digits"},
        {"4", "number \"\" is not 1 to 5 digits"},
        {"5", "Tel is longer than 5 characters"},
        {"6", "number 100 already appears on line 2"},
        {"7", "Adres is longer than 60 characters"},
        {"8", "2 fields where 4 are expected"},
        {"9", "5 fields where 4 are expected"},
        {"10", "characters follow a closing quote"},
        {"11", "the text is not UTF-8 (for code page 1251 give --encoding cp1251)"},
        {"12", "a quote is not closed before the end of the file"},
    };
    writeFile(path("data.db"), "the publisher's previous table");
    ImportResult result = importDirectoryFrom(file);
    EXPECT_EQ(problems, expected);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(readFile(path("data.db")), "the publisher's previous table");
    EXPECT_FALSE(QFile::exists(path("data.db.part")));

    problems.clear();
    ImportOptions skip;
    skip.skipInvalid = true;
    result = importDirectoryFrom(file, skip);
    EXPECT_EQ(problems.size(), expected.size());
    EXPECT_EQ(rowsOf("data.db"), (std::vector<QStringList>{{"100", "ОК", kNull, kNull}}));

    ImportOptions shared;
    shared.allowDuplicateNumbers = true;
    shared.skipInvalid = true;
    importDirectoryFrom(utf8("Tel,Abon\n5,A\n5,B\n"), shared);
    EXPECT_EQ(rowsOf("data.db").size(), 2u);
}

TEST_F(ImportTest, AFinishedTableThatCannotTakeItsNameIsAFailure)
{
    QDir().mkpath(path("data.db/kept"));
    EXPECT_THROW(importDirectoryFrom(utf8("Tel,Abon\n100,ОК\n")), std::runtime_error);
    EXPECT_TRUE(QFileInfo(path("data.db/kept")).isDir());
    EXPECT_FALSE(QFile::exists(path("data.db.part")));
}

TEST_F(ImportTest, RefusesAHeaderItCannotMap)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Tel,Abon,Notes\n1,A,x\n", ":1: unknown column \"Notes\""},
        {"Abon,Adres\nA,B\n", ":1: column Tel is missing"},
        {"Tel,Телефон\n1,2\n", ":1: column Телефон is named twice"},
        {"\n\n", ": the file is empty"},
        {"\xD2\xE5\xEB\xE5\xF4\xEE\xED\n1\n", ":1: the text is not UTF-8 (for code page 1251 give --encoding cp1251)"},
    };
    for (const auto &[bytes, message] : cases) {
        try {
            importDirectoryFrom(utf8(bytes));
            ADD_FAILURE() << bytes;
        } catch (const std::runtime_error &error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(path("in.csv") + QString::fromUtf8(message)))
                << error.what();
        }
        EXPECT_FALSE(QFile::exists(path("data.db")));
    }
}

TEST_F(ImportTest, DialingCodesNeedTheSixRegionsAndDigitCodes)
{
    QByteArray file = utf8("Область\tНаселенный пункт\tКод\n");
    for (const char *region : {"брестская", "ВИТЕБСКАЯ", "ГОМЕЛЬСКАЯ", "ГРОДНЕНСКАЯ", "МИНСКАЯ"})
        file += utf8(region) + utf8("\tгород\t0100\n");
    file += utf8("МОСКОВСКАЯ\tМОСКВА\t8495\n" // 7
                 "МИНСКАЯ\t\t017\n"           // 8
                 "МИНСКАЯ\tМИНСК\t0-17\n");   // 9
    writeFile(path("codes.tsv"), file);
    std::vector<QStringList> problems;
    ImportOptions options;
    options.onProblem = [&](const Problem &p) {
        problems.push_back({QString::number(p.line), p.text.section(u':', 0, 0)});
    };
    EXPECT_FALSE(importDialingCodes(path("codes.tsv"), path("kod.db"), options).saved);
    EXPECT_EQ(problems, (std::vector<QStringList>{{"7", "region \"МОСКОВСКАЯ\" is not one of the six"},
                                                  {"8", "the locality is missing"},
                                                  {"9", "code \"0-17\" is not digits"},
                                                  {"0", "no locality of region МОГИЛЕВСКАЯ"}}));
    EXPECT_FALSE(QFile::exists(path("kod.db")));

    writeFile(path("codes.tsv"), file.left(file.indexOf("МОСКОВСКАЯ")) + utf8("МОГИЛЕВСКАЯ\tбелыничи\t02232\n"));
    problems.clear();
    EXPECT_TRUE(importDialingCodes(path("codes.tsv"), path("kod.db"), options).saved);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(rowsOf("kod.db").front(), (QStringList{"БРЕСТСКАЯ", "ГОРОД", "0100"}));
    EXPECT_EQ(rowsOf("kod.db").back(), (QStringList{"МОГИЛЕВСКАЯ", "БЕЛЫНИЧИ", "02232"}));
}

// Over a megabyte, so records straddle the reader's blocks; every character
// that needs quoting, in both encodings.
TEST_F(ImportTest, ExportThenImportGivesTheSameTable)
{
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Cp1251}) {
        {
            TableWriter writer(path("data.db"), directoryLayout());
            for (int i = 0; i < 30000; ++i)
                writer.add({QString::number(i), QStringLiteral("ООО \"ВЕРЕСК-%1\", ФИЛИАЛ; №%1").arg(i),
                            i % 3 ? QStringLiteral("Отдел\t%1").arg(i) : QString(),
                            QStringLiteral("ЛЕНИНА %1").arg(i % 120)});
            writer.finish();
        }
        ExportOptions out;
        out.encoding = encoding;
        out.separator = encoding == Encoding::Utf8 ? ',' : ';';
        ASSERT_EQ(exportTable(path("data.db"), directoryLayout(), path("out.csv"), out).written, 30000);
        ASSERT_GT(QFile(path("out.csv")).size(), 1 << 20);
        ImportOptions in;
        in.encoding = encoding;
        in.onProblem = [](const Problem &p) { ADD_FAILURE() << p.line << ": " << p.text.toStdString(); };
        ASSERT_TRUE(importDirectory(path("out.csv"), path("again.db"), in).saved);
        const std::vector<QStringList> again = rowsOf("again.db");
        std::vector<QStringList> original = rowsOf("data.db");
        for (QStringList &row : original)
            row[2].replace(u'\t', u' '); // white space inside a text is made one space
        EXPECT_EQ(again, original);
        QFile::remove(path("again.db"));
    }
}

TEST(DelimitedReader, FindsRecordsAcrossBlocksAndCountsLines)
{
    QByteArray bytes;
    const int padding = (1 << 20) - 3;
    while (bytes.size() < padding - 2)
        bytes += "x\n";
    bytes.resize(padding, 'y');
    const int lines = int(bytes.count('\n'));
    bytes += "\n\"a\nb\"\"c\",d\r\nlast";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DelimitedReader reader(buffer, Encoding::Utf8, ',');
    TextRecord record;
    int count = 0;
    while (reader.next(record) && record.fields.value(0) != QStringLiteral("a\nb\"c"))
        ++count;
    EXPECT_EQ(count, lines + 1);
    EXPECT_EQ(record.line, lines + 2);
    EXPECT_EQ(record.fields, (QStringList{"a\nb\"c", "d"}));
    ASSERT_TRUE(reader.next(record));
    EXPECT_EQ(record.line, lines + 4);
    EXPECT_EQ(record.fields, QStringList{"last"});
    EXPECT_FALSE(reader.next(record));
    EXPECT_EQ(reader.bytesRead(), bytes.size());
}

} // namespace

// The byte path of a field's text gives what QString gives, character by
// character over every one it takes and in runs of them with white space.
TEST(FieldText, ByteRulesMatchQString)
{
    std::vector<char32_t> taken;
    for (char32_t c = 0; c < 0x80; ++c)
        taken.push_back(c);
    for (char32_t c = 0x400; c < 0x460; ++c)
        taken.push_back(c);
    const auto viaQString = [](const QString &text, bool upper) {
        std::string out;
        appendTidy(text, upper, out);
        return out;
    };
    unsigned seed = 1;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        if (round < int(taken.size())) {
            text = QStringLiteral(" a") + QString::fromUcs4(&taken[std::size_t(round)], 1) + QStringLiteral("\t b ");
        } else {
            for (int i = 0; i < 8; ++i) {
                seed = seed * 1103515245u + 12345u;
                const char32_t c = (seed >> 16) % 3 == 0 ? U' ' : taken[(seed >> 8) % taken.size()];
                text += QString::fromUcs4(&c, 1);
            }
        }
        for (const bool upper : {false, true}) {
            std::string out = "x";
            ASSERT_TRUE(appendTidyUtf8(text.toUtf8(), upper, out));
            EXPECT_EQ(out, "x" + viaQString(text, upper)) << text.toStdString();
        }
    }
    for (const char *other : {"\xC2\xA0", "\xD1\xA0",
                              "\xEF\xBB\xBF"
                              "a",
                              "\xD0", "\xE2\x80\x83"}) {
        std::string out = "x";
        EXPECT_FALSE(appendTidyUtf8(QByteArrayView(other), true, out)) << other;
        EXPECT_EQ(out, "x");
    }
}

TEST(FieldText, Utf8CutMatchesTheCutOfCharacters)
{
    for (const QString &text : {QStringLiteral("ПЕТРОВ"), QStringLiteral("ab"),
                                QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                  "bc")})
        for (int size = 0; size < 7; ++size) {
            const QByteArray utf8 = text.toUtf8();
            const std::string_view cut =
                data::cutToSize(std::string_view(utf8.constData(), std::size_t(utf8.size())), size);
            EXPECT_EQ(QString::fromUtf8(cut), data::cutToSize(text, size)) << size;
            EXPECT_EQ(characterCount(cut), characterCount(data::cutToSize(text, size)));
        }
}
