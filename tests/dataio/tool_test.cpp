// The data tool as a publisher and a resident run it: exit status, messages,
// a locked phone book, and an archive the program unpacks.
#include "dataiotest.h"

#include "app/directoryarchive.h"
#include "archive/zipextractor.h"
#include "data/query.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <sqlite3.h>

namespace {

using ToolTest = DataToolTest;

TEST_F(ToolTest, ExitStatusIsZeroOnlyOnSuccess)
{
    writeFile(path("good.csv"), utf8("Tel,Abon\n1,A\n"));
    writeFile(path("bad.csv"), utf8("Tel,Abon\nx,A\n1,B\ny,C\n"));
    writeFile(path("cards.txt"), utf8("VERSION:4.0\r\nFN:Begin lost\r\nEND:VCARD\r\n"));
    const struct {
        QStringList args;
        int status;
        const char *says;
    } cases[] = {
        {{}, 2, "Usage: spravochnik-data COMMAND"},
        {{"--help"}, 0, "book import FILE.vcf|FILE.csv|FILE.db basamy.db"},
        {{"directory", "frobnicate"}, 2, "unknown command"},
        {{"directory", "import", "good.csv"}, 2, "option -o is required"},
        {{"directory", "import", "good.csv", "-o", "data.db", "--vcard", "x"}, 2, "option --vcard does not apply"},
        {{"directory", "import", "good.csv", "-o", "data.db", "--encoding", "koi8"}, 2, "unknown encoding koi8"},
        {{"directory", "import", "good.csv", "-o", "data.db", "--bogus"}, 2, "unknown option --bogus"},
        {{"directory", "import", "missing.csv", "-o", "data.db"}, 1, "missing.csv: cannot read the file"},
        {{"directory", "import", "bad.csv", "-o", "data.db"},
         1,
         "bad.csv:2: number \"x\" is not 1 to 5 digits\n"
         "bad.csv:4: number \"y\" is not 1 to 5 digits\n"
         "2 invalid rows. data.db was not written."},
        {{"directory", "import", "bad.csv", "-o", "data.db", "--skip-invalid"},
         0,
         "1 rows written to data.db; 2 invalid rows skipped"},
        {{"directory", "import", "good.csv", "-o", "data.db"}, 0, "1 rows written to data.db"},
        {{"book", "export", "data.db", "--csv", "b.csv"}, 1, "no such column: FIO"},
        {{"pack", "basa.tel", "data.db", "missing.db"}, 1, "missing.db: cannot read the file"},
        {{"book", "import", "cards.txt", "basamy.db"},
         1,
         "cards.txt:1: not a valid vCard: \"VERSION:4.0\" stands outside a BEGIN:VCARD … END:VCARD card\n"
         "1 invalid records. The book basamy.db is unchanged."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(run(c.args), c.status);
        EXPECT_TRUE((out + err).contains(QString::fromUtf8(c.says))) << (out + err).toStdString();
    }
    run({"--help"}, "ru_RU.UTF-8");
    EXPECT_TRUE(out.startsWith("Использование: spravochnik-data КОМАНДА")) << out.toStdString();
}

TEST_F(ToolTest, ALockedBookIsLeftByteIdentical)
{
    makeTable("basamy.db", "FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), MAIL VARCHAR(50)",
              {{"Иванов", "", "1", ""}});
    writeFile(path("new.vcf"), utf8("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Петров\r\nTEL:2\r\nEND:VCARD\r\n"));
    const QByteArray before = readFile(path("basamy.db"));
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path("basamy.db")).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    EXPECT_EQ(run({"book", "import", "new.vcf", "basamy.db"}), 1);
    EXPECT_TRUE(err.contains("Файл таблицы \"basamy.db\" занят другой программой")) << err.toStdString();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(readFile(path("basamy.db")), before);

    EXPECT_EQ(run({"book", "import", "new.vcf", "basamy.db", "--dry-run"}), 0);
    EXPECT_TRUE(out.contains("add: Петров |  | 2 | \nWould add 1 records; 0 already in the book; 0 invalid"))
        << out.toStdString();
    EXPECT_EQ(readFile(path("basamy.db")), before);
    EXPECT_EQ(run({"book", "import", "new.vcf", "basamy.db"}), 0);
    EXPECT_EQ(rowsOf("basamy.db").size(), 2u);
}

// From the town's spreadsheet to an archive the program unpacks and searches.
TEST_F(ToolTest, PackedArchiveOpensInTheProgramsUnpackPathAndInUnzip)
{
    QByteArray codes = writeTownFiles(utf8("Телефон;Абонент;Адрес\r\n21345;Вересов А.Б.;Ленина 1\r\n"));
    QDir().mkdir("out");
    ASSERT_EQ(run({"directory", "import", "town.csv", "-o", "out/data.db"}), 0) << err.toStdString();
    ASSERT_EQ(run({"codes", "import", "codes.tsv", "-o", "out/kod.db"}), 0) << err.toStdString();
    ASSERT_EQ(run({"codes", "export", "out/kod.db", "-o", "back.tsv"}), 0);
    EXPECT_EQ(readFile(path("back.tsv")), codes.replace("\n", "\r\n")) << "a publisher's round trip";
    ASSERT_EQ(run({"pack", "basa.tel", "out/data.db", "out/kod.db"}), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << "no progress off a terminal";
    const QByteArray archive = readFile(path("basa.tel"));
    ASSERT_EQ(run({"pack", "basa.tel", "out/data.db", "out/kod.db"}), 0);
    EXPECT_EQ(readFile(path("basa.tel")), archive) << "byte-identical for identical inputs";

    const QString unzip = QStandardPaths::findExecutable("unzip");
    ASSERT_FALSE(unzip.isEmpty()) << "needs Info-ZIP unzip";
    EXPECT_EQ(QProcess::execute(unzip, {"-tq", path("basa.tel")}), 0);

    TZipExtractor extractor;
    directoryarchive::unpack(extractor);
    EXPECT_EQ(extractor.successCount(), 2);
    data::Query query;
    query.setSql({"SELECT Tel, Abon, Otdel, Adres", "FROM \"data.db\" Country",
                  "WHERE   (Tel Like :Name_param and Abon Like :Name_param2 ", "and Adres Like :Name_param3)"});
    query.setParamByName("Name_param", "%");
    query.setParamByName("Name_param2", QString::fromUtf8("ВЕРЕС%"));
    query.setParamByName("Name_param3", QString::fromUtf8("ЛЕНИНА%"));
    query.open();
    EXPECT_EQ(query.fieldByName("Tel").asString(), "21345");
}

} // namespace
