#include "data/query.h"
#include "data/table.h"
#include "datagen/directorydata.h"
#include "support/tablefixture.h"

#include <QDir>
#include <QFile>
#include <QSet>

using namespace data;

namespace {

std::vector<QStringList> generated(int count)
{
    std::vector<QStringList> rows;
    datagen::generateDirectory(count, [&](const QStringList &row) { rows.push_back(row); });
    return rows;
}

TEST(DirectoryData, NumbersAreFiveDigitsUniqueUpTo100000ThenRepeat)
{
    QSet<QString> numbers;
    int count = 0;
    QString first;
    datagen::generateDirectory(100001, [&](const QStringList &row) {
        if (count == 0)
            first = row[0];
        if (count < 100000) {
            ASSERT_EQ(row[0].size(), 5);
            numbers.insert(row[0]);
        } else {
            EXPECT_EQ(row[0], first);
        }
        ++count;
    });
    EXPECT_EQ(count, 100001);
    EXPECT_EQ(numbers.size(), 100000);
}

TEST(DirectoryData, RecordsLookLikeATownDirectory)
{
    const auto rows = generated(datagen::kDefaultDirectorySize);
    ASSERT_EQ(rows.size(), size_t(datagen::kDefaultDirectorySize));
    EXPECT_EQ(rows, generated(datagen::kDefaultDirectorySize)) << "deterministic";
    int withoutAbon = 0, withoutAdres = 0, departments = 0;
    QSet<QString> addresses;
    const int sizes[] = {5, 150, 150, 60};
    for (const QStringList &row : rows) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(row[i], row[i].toUpper());
            EXPECT_LE(row[i].size(), sizes[i]);
        }
        withoutAbon += row[1].isEmpty();
        withoutAdres += row[3].isEmpty();
        departments += !row[2].isEmpty();
        addresses.insert(row[3]);
    }
    EXPECT_GT(withoutAbon, 0);
    EXPECT_LT(withoutAbon, 200) << "only a few";
    EXPECT_GT(withoutAdres, 0);
    EXPECT_LT(withoutAdres, 200);
    EXPECT_GT(departments, 1000);
    EXPECT_LT(departments, 4000);
    for (const char *address : {"ЛЕНИНА 89", "ЛЕНИНА 35А", "ОСТРОВСКОГО 37", "ДЗЕРЖИНСКОГО 100", "ПЛ.40 Л. ОКТЯБРЯ 7"})
        EXPECT_TRUE(addresses.contains(QString::fromUtf8(address))) << address;
}

class TableFilesTest : public WorkDirTest {};

TEST_F(TableFilesTest, DirectoryTableAnswersTheSearchThroughItsIndexes)
{
    datagen::writeDirectory(path("data.db"), 2000);
    Query query;
    query.setSql({"SELECT Tel, Abon, Otdel, Adres", "FROM \"data.db\" Country",
                  "WHERE   (Tel Like :Name_param and Abon Like :Name_param2 ", "and Adres Like :Name_param3)"});
    query.setParamByName("Name_param", "%");
    query.setParamByName("Name_param2", "%");
    query.setParamByName("Name_param3", "%");
    query.open();
    const auto rows = generated(2000);
    const auto complete = std::count_if(rows.begin(), rows.end(),
                                        [](const QStringList &row) { return !row[1].isEmpty() && !row[3].isEmpty(); });
    EXPECT_EQ(query.recordCount(), complete);
    EXPECT_LT(complete, 2000) << "the all-empty search leaves some records out";

    query.close();
    query.setParamByName("Name_param", "279%");
    EXPECT_TRUE(query.queryPlan().join(' ').contains("USING INDEX data_Tel"))
        << query.queryPlan().join(' ').toStdString();
    query.setParamByName("Name_param", "%");
    query.setParamByName("Name_param2", QString::fromUtf8("ИВАН%"));
    EXPECT_TRUE(query.queryPlan().join(' ').contains("USING INDEX data_Abon"));
    query.open();
    EXPECT_GT(query.recordCount(), 0);
    for (query.first(); !query.eof(); query.next())
        EXPECT_TRUE(query.fieldByName("Abon").asString().startsWith(QString::fromUtf8("ИВАН")));
}

TEST_F(TableFilesTest, PhoneBookStartsEmptyWithItsFourFields)
{
    datagen::writePhoneBook(path("basamy.db"));
    Table table;
    table.setTableName("basamy.db");
    table.open();
    EXPECT_TRUE(table.isEmpty());
    ASSERT_EQ(table.fieldCount(), 4);
    const int sizes[] = {30, 40, 15, 50};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(table.field(i)->size(), sizes[i]);
    EXPECT_EQ(table.field(3)->fieldName(), "MAIL");
}

TEST_F(TableFilesTest, IdenticalInputsGiveIdenticalFiles)
{
    QDir().mkdir("a");
    QDir().mkdir("b");
    for (const char *dir : {"a", "b"})
        datagen::writeDirectory(path(QStringLiteral("%1/data.db").arg(dir)), 3000);
    QFile a(path("a/data.db")), b(path("b/data.db"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(a.readAll() == b.readAll());
}

} // namespace
