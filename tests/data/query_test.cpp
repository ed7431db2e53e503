#include "data/query.h"
#include "data/table.h"
#include "data/tablefile.h"
#include "support/tablefixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

using namespace data;

namespace {

const QStringList kSearchSql = {
    QStringLiteral("SELECT Tel, Abon, Otdel, Adres"),
    QStringLiteral("FROM \"data.db\" Country"),
    QStringLiteral("WHERE   (Tel Like :Name_param and Abon Like :Name_param2 "),
    QStringLiteral("and Adres Like :Name_param3)"),
};

const QString kDirectoryColumns =
    QStringLiteral("Tel VARCHAR(5), Abon VARCHAR(150), Otdel VARCHAR(150), Adres VARCHAR(60)");

class QueryTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        makeTable(QStringLiteral("data.db"), kDirectoryColumns,
                  {{"12345", "ИВАНОВ И.И.", QString(), "ЛЕНИНА 1"},
                   {"12399", "Иванов П.П.", "БУХГАЛТЕРИЯ", "ЛЕНИНА 2"},
                   {"21234", "ИВАНОВА А.А.", QString(), "ОСТРОВСКОГО 3"},
                   {"13345", "ПЕТРОВ", QString(), QString()},
                   {"14000", QString(), QString(), "ЛЕНИНА 5"},
                   {"1%345", "ПРОЦЕНТ", QString(), "СКЛАДСКАЯ 1"}});
        query.setSql(kSearchSql);
    }

    QStringList search(const QString &tel, const QString &abon, const QString &adres)
    {
        query.close();
        query.setParamByName(QStringLiteral("Name_param"), tel + u'%');
        query.setParamByName(QStringLiteral("Name_param2"), abon + u'%');
        query.setParamByName(QStringLiteral("Name_param3"), adres + u'%');
        query.open();
        QStringList tels;
        for (query.first(); !query.eof(); query.next())
            tels.append(query.fieldByName(QStringLiteral("Tel")).asString());
        return tels;
    }

    Query query;
};

TEST_F(QueryTest, LikeMatchesPrefixesCaseSensitivelyAndLeavesOutNulls)
{
    EXPECT_EQ(search("", "", ""), QStringList({"12345", "12399", "21234", "1%345"}))
        << "every record whose three searched columns hold text";
    EXPECT_EQ(search("12", "", ""), QStringList({"12345", "12399"}));
    EXPECT_EQ(search("", "ИВ", ""), QStringList({"12345", "21234"})) << "Cyrillic case is significant";
    EXPECT_EQ(search("", "Ив", ""), QStringList({"12399"}));
    EXPECT_EQ(search("", "", "ЛЕНИНА"), QStringList({"12345", "12399"}));
    EXPECT_EQ(search("1_3", "", ""), QStringList({"12345", "12399", "1%345"})) << "\"_\" is any one character";
    EXPECT_EQ(search("1%3", "", ""), QStringList({"12345", "12399", "1%345"})) << "a typed \"%\" is a wildcard too";
    EXPECT_TRUE(search("123456", "", "").isEmpty()) << "longer than the field";
}

TEST_F(QueryTest, OpenShowsTheFirstRowAndFieldsWithTheirDeclaredSizes)
{
    search("12", "", "");
    ASSERT_EQ(query.fieldCount(), 4);
    EXPECT_EQ(query.field(0)->fieldName(), "Tel");
    EXPECT_EQ(query.field(1)->size(), 150);
    EXPECT_EQ(query.fieldByName("tel").size(), 5) << "field lookup ignores case";
    query.first();
    EXPECT_EQ(query.recNo(), 1);
    EXPECT_EQ(query.fieldByName("Abon").asString(), "ИВАНОВ И.И.");
    EXPECT_TRUE(query.fieldByName("Otdel").isNull());
    EXPECT_EQ(query.fieldByName("Tel").asFloat(), 12345.0);
}

TEST_F(QueryTest, EmptyResultReadsNullAndCountsZero)
{
    search("9", "", "");
    EXPECT_TRUE(query.active());
    EXPECT_TRUE(query.isEmpty());
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_EQ(query.recNo(), 0);
    EXPECT_TRUE(query.bof());
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(query.fieldByName("Tel").isNull());
    EXPECT_EQ(query.fieldByName("Tel").asString(), QString());
}

TEST_F(QueryTest, PreparedFlagSurvivesCloseAndOpenButNotNewSql)
{
    EXPECT_FALSE(query.prepared());
    query.prepare();
    EXPECT_TRUE(query.prepared());
    search("", "", "");
    query.close();
    EXPECT_TRUE(query.prepared());
    query.setSql({QStringLiteral("SELECT Tel FROM \"data.db\"")});
    EXPECT_FALSE(query.prepared());
}

TEST_F(QueryTest, EveryOpenReadsTheFileAsItIsOnDisk)
{
    search("12", "", "");
    deleteTableFile(QStringLiteral("data.db"));
    makeTable(QStringLiteral("data.db"), kDirectoryColumns, {{"55555", "НОВЫЙ", QString(), "НОВАЯ 1"}});
    EXPECT_EQ(query.recordCount(), 2) << "an open result is not disturbed by the file being replaced";
    query.first();
    EXPECT_EQ(query.fieldByName("Tel").asString(), "12345");
    EXPECT_EQ(search("", "", ""), QStringList({"55555"}));
}

TEST_F(QueryTest, ParametersAreMatchedIgnoringCaseAndEachNeedsAValue)
{
    query.setParamByName(QStringLiteral("NAME_PARAM"), QStringLiteral("%"));
    query.setParamByName(QStringLiteral("name_param2"), QStringLiteral("%"));
    try {
        query.open();
        FAIL() << "opened with a parameter missing";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.message(), "Не задано значение параметра 'Name_param3'");
    }
    EXPECT_FALSE(query.active());
    query.setParamByName(QStringLiteral("Name_Param3"), QStringLiteral("%"));
    query.open();
    EXPECT_EQ(query.recordCount(), 4);
}

TEST_F(QueryTest, PrefixSearchesUseTheIndex)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path("data.db").toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE INDEX tel_index ON data(Tel)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    query.setParamByName(QStringLiteral("Name_param"), QStringLiteral("123%"));
    query.setParamByName(QStringLiteral("Name_param2"), QStringLiteral("%"));
    query.setParamByName(QStringLiteral("Name_param3"), QStringLiteral("%"));
    EXPECT_TRUE(query.queryPlan().join(u'\n').contains("USING INDEX tel_index (Tel>? AND Tel<?)"))
        << query.queryPlan().join(u'\n').toStdString();
}

TEST_F(QueryTest, TwoTableFilesInOneQuery)
{
    makeTable(QStringLiteral("kod.db"), QStringLiteral("Obl VARCHAR(15), Np VARCHAR(20), Kod VARCHAR(20)"),
              {{"МИНСКАЯ", "ЛЕНИНА 1", "017"}});
    query.setSql({QStringLiteral("SELECT d.Tel, k.Kod FROM \"data.db\" d JOIN \"kod.db\" k ON k.Np = d.Adres")});
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldByName("Kod").asString(), "017");
}

TEST_F(QueryTest, QuotedTextIsNotTakenForATableFile)
{
    query.setSql({QStringLiteral("SELECT 'it''s \"x.db\"' AS Note FROM \"data.db\" WHERE Tel = '12345'")});
    query.open();
    EXPECT_EQ(query.fieldByName("Note").asString(), "it's \"x.db\"");
}

// ---------------------------------------------------------------- errors

QString openError(Query &query)
{
    try {
        query.open();
    } catch (const EDatabaseError &error) {
        EXPECT_FALSE(query.active());
        return error.message();
    }
    return QStringLiteral("(no error)");
}

TEST_F(QueryTest, MissingTableFileIsAnErrorAndIsNotCreated)
{
    query.setSql({QStringLiteral("SELECT Np FROM \"kod.db\" Country")});
    EXPECT_TRUE(openError(query).startsWith("Файл таблицы \"kod.db\" не найден в папке"))
        << openError(query).toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("kod.db")));
    EXPECT_THROW(query.prepare(), EDatabaseError);
    EXPECT_FALSE(query.prepared());
}

TEST_F(QueryTest, BadSqlAndWritingStatementsAreRefused)
{
    query.setSql({QStringLiteral("SELEKT Tel FROM \"data.db\"")});
    EXPECT_TRUE(openError(query).startsWith("Ошибка в тексте запроса: ")) << openError(query).toStdString();
    query.setSql({QStringLiteral("SELECT Nope FROM \"data.db\"")});
    EXPECT_EQ(openError(query), "Ошибка в тексте запроса: no such column: Nope");
    query.setSql({QStringLiteral("DELETE FROM \"data.db\"")});
    EXPECT_EQ(openError(query), "Ошибка в тексте запроса: запрос может только читать");
    query.setSql({QStringLiteral("SELECT 1 FROM \"data.db\"; DELETE FROM \"data.db\"")});
    EXPECT_EQ(openError(query), "Ошибка в тексте запроса: в нём больше одного запроса");
    EXPECT_EQ(readTable(QStringLiteral("data.db")).size(), 6u);
}

TEST_F(QueryTest, UnknownFieldNamesTheField)
{
    search("", "", "");
    try {
        query.fieldByName(QStringLiteral("Fax"));
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.message(), "Поле 'Fax' не найдено");
    }
    EXPECT_EQ(query.findField(QStringLiteral("Fax")), nullptr);
}

TEST_F(QueryTest, DamagedOrForeignFilesAreReportedByName)
{
    QFile junk(path("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    query.setSql({QStringLiteral("SELECT * FROM \"junk.db\"")});
    EXPECT_EQ(openError(query), "Файл таблицы \"junk.db\" повреждён или не является таблицей");
}

// A phone book copied to "backup.db" still opens, by query and as a table;
// only a file that leaves the choice open is refused.
TEST_F(QueryTest, ATableFileOpensItsOnlyTableWhateverItsName)
{
    const struct {
        const char *content;
        const char *error; // empty: opens and reads one row
    } cases[] = {
        {"CREATE TABLE basamy (A TEXT); CREATE INDEX byA ON basamy (A); INSERT INTO basamy VALUES ('x')", ""},
        {"CREATE TABLE other (A TEXT); CREATE TABLE BACKUP (A TEXT); INSERT INTO BACKUP VALUES ('x')", ""},
        {"PRAGMA user_version = 1", "В файле таблицы \"backup.db\" нет таблицы"},
        {"CREATE TABLE b (A TEXT); CREATE TABLE a (A TEXT)",
         "В файле таблицы \"backup.db\" 2 таблиц(ы) (a, b), и ни одна не называется \"backup\""},
    };
    query.setSql({QStringLiteral("SELECT A FROM \"backup.db\"")});
    for (const auto &c : cases) {
        SCOPED_TRACE(c.content);
        QFile::remove(path("backup.db"));
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(path("backup.db").toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, c.content, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);

        Table table;
        table.setTableName(QStringLiteral("backup.db"));
        if (*c.error) {
            EXPECT_EQ(openError(query), c.error);
            EXPECT_THROW(table.open(), EDatabaseError);
            continue;
        }
        query.open();
        EXPECT_EQ(query.recordCount(), 1);
        query.close();
        table.open();
        table.append();
        table.fieldByName(QStringLiteral("A")).setAsString(QStringLiteral("y"));
        table.post();
        EXPECT_EQ(table.recordCount(), 2);
    }
}

TEST_F(QueryTest, LockedTableFileIsReportedByName)
{
    sqlite3 *writer = nullptr;
    sqlite3_open(path("data.db").toUtf8().constData(), &writer);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    query.setParamByName(QStringLiteral("Name_param"), QStringLiteral("%"));
    query.setParamByName(QStringLiteral("Name_param2"), QStringLiteral("%"));
    query.setParamByName(QStringLiteral("Name_param3"), QStringLiteral("%"));
    EXPECT_EQ(openError(query), "Файл таблицы \"data.db\" занят другой программой");
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    query.open();
    EXPECT_EQ(query.recordCount(), 4);
}

TEST_F(QueryTest, QueryResultsCannotBeEdited)
{
    search("", "", "");
    EXPECT_FALSE(query.canModify());
    EXPECT_THROW(query.edit(), EDatabaseError);
    EXPECT_THROW(query.append(), EDatabaseError);
    EXPECT_THROW(query.deleteRecord(), EDatabaseError);
    EXPECT_EQ(query.state(), DataSetState::Browse);
    EXPECT_EQ(query.recordCount(), 4);
}

TEST_F(QueryTest, TableFilesInFoldersWithAwkwardNames)
{
    const QString folder = QStringLiteral("папка #1 ?%20 'x'");
    ASSERT_TRUE(QDir().mkdir(folder));
    makeTable(folder + QStringLiteral("/codes.db"), QStringLiteral("Np VARCHAR(20)"), {{"МИНСК"}});
    query.setSql({QStringLiteral("SELECT Np FROM \"%1/codes.db\"").arg(folder)});
    query.open();
    EXPECT_EQ(query.fieldByName("Np").asString(), "МИНСК");
}

} // namespace
