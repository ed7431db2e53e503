#include "data/paradoxmove.h"
#include "data/paradoxtable.h"
#include "data/query.h"
#include "data/records.h"
#include "data/sqlitedb.h"
#include "data/table.h"
#include "data/tablefile.h"
#include "support/paradoxbuilder.h"
#include "support/tablefixture.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace data;
using PB = ParadoxBuilder;

namespace {

std::vector<QStringList> rowsOf(const Records &records)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < records.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < records.columnCount(); ++c)
            row.append(records.string(r, c));
        rows.push_back(row);
    }
    return rows;
}

// Every row of a table file, ours or Paradox, as the engine's SQL reads it.
std::vector<QStringList> engineRows(const QString &fileName)
{
    sqlite::Connection connection = sqlite::Connection::openForQuery();
    connection.attachReadOnly(fileName, QStringLiteral("t"));
    Records records;
    sqlite::Statement(connection, QStringLiteral("SELECT * FROM t.%1 ORDER BY rowid").arg(tableNameOf(fileName)))
        .readAll(records, false);
    return rowsOf(records);
}

std::vector<QStringList> read(const QByteArray &bytes, QByteArrayView memo = {})
{
    Records records;
    ParadoxTable(bytes, QStringLiteral("t.db"), memo).readInto(records);
    return rowsOf(records);
}

QString refusal(const QByteArray &bytes)
{
    try {
        read(bytes);
    } catch (const EDatabaseError &error) {
        return error.message();
    }
    return {};
}

const std::vector<QStringList> kSubscribers = {
    {"12345", "ИВАНОВ ИВАН", "", "ЛЕНИНА 1"},
    {"12346", "ИВАНОВА ЁЛКА", "БУХГАЛТЕРИЯ", "МИРА 2"},
    {"22001", "ПЕТРОВ", "", "ЛЕНИНА 5"},
    {"22002", "СОВХОЗ \"ЗАРЯ\"", "КОНТОРА", ""},
    {"30000", "ШКОЛА № 1", "УЧИТЕЛЬСКАЯ", "ШКОЛЬНАЯ 3"},
};

class ParadoxTest : public WorkDirTest {};

} // namespace

TEST_F(ParadoxTest, EveryFieldTypeReadsAsTheTextShown)
{
    struct Case {
        PB::Field field;
        QByteArray bytes;
        QString text;
    };
    const double day = 86400000.0;
    const qint64 jan2000 = 730120; // days from 1 January of year 1 to 1 January 2000, counting both
    const QByteArray bcd = QByteArray::fromHex("8200000000000000000000000000012345");         // 123.45
    const QByteArray negativeBcd = QByteArray::fromHex("02ffffffffffffffffffffffffffffedcb"); // -12.34
    const Case cases[] = {
        {{PB::Alpha, 10, "A"}, PB().alpha("Привет", 10), "Привет"},
        {{PB::Short, 0, "S"}, PB::integer(-42, 2), "-42"},
        {{PB::Long, 0, "I"}, PB::integer(1234567, 4), "1234567"},
        {{PB::AutoIncrement, 0, "Inc"}, PB::integer(7, 4), "7"},
        {{PB::Number, 0, "N"}, PB::number(-2.5), "-2.5"},
        {{PB::Number, 0, "Tel"}, PB::number(12345), "12345"},
        {{PB::Money, 0, "M"}, PB::number(1234.5), "1234.50"},
        {{PB::Logical, 0, "L"}, QByteArray("\x81", 1), "Да"},
        {{PB::Logical, 0, "L0"}, QByteArray("\x80", 1), "Нет"},
        {{PB::Date, 0, "D"}, PB::integer(jan2000, 4), "01.01.2000"},
        {{PB::Time, 0, "T"}, PB::integer((13 * 3600 + 5 * 60 + 9) * 1000, 4), "13:05:09"},
        {{PB::Timestamp, 0, "TS"}, PB::number((jan2000 + 1) * day + 3600000.0), "02.01.2000 01:00:00"},
        {{PB::Bcd, 2, "B"}, bcd, "123.45"},
        {{PB::Bcd, 2, "B2"}, negativeBcd, "-12.34"},
        {{PB::Memo, 20, "Memo"}, PB().alpha("Заметка", 10) + QByteArray::fromHex("00000000070000000100"), "Заметка"},
        {{PB::Bytes, 4, "Y"}, QByteArray("\x01\x02\x03\x04", 4), ""},
        {{PB::Bytes, 4, "Y2"}, QByteArray("abcd"), "abcd"},
        {{PB::Graphic, 15, "G"}, QByteArray(15, 'x'), ""},
    };
    PB builder;
    builder.versionId = 10;
    for (const Case &c : cases)
        builder.fields.append(c.field);
    QByteArray record;
    for (const Case &c : cases)
        record += c.bytes;
    builder.add({record});
    builder.add({}); // all null
    const auto rows = read(builder.build());
    ASSERT_EQ(rows.size(), 2u);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(rows[0][qsizetype(i)], cases[i].text) << cases[i].field.name.constData();
        EXPECT_TRUE(rows[1][qsizetype(i)].isNull()) << cases[i].field.name.constData();
    }
}

TEST_F(ParadoxTest, AMemoLongerThanItsRecordPartComesFromTheMemoFile)
{
    PB builder;
    builder.fields = {{PB::Memo, 15, "Memo"}, {PB::Memo, 15, "Small"}};
    const QByteArray text = PB().alpha(QStringLiteral("Длинная заметка о подписчике"), 28);
    QByteArray memo(4096 * 3, '\0');
    memo[4096] = 2; // a block of its own
    memo.replace(4096 + 9, text.size(), text);
    memo[8192] = 3; // a block of small memos: entry 1 at paragraph 4
    const int entry = 8192 + 12 + 5;
    memo[entry] = 4;
    memo[entry + 1] = 1;
    memo.replace(8192 + 64, 6, PB().alpha(QStringLiteral("Кратко"), 6));
    const QByteArray first = text.left(5) + QByteArray::fromHex("ff1000001c0000000100");
    const QByteArray second = QByteArray(5, 'x') + QByteArray::fromHex("01200000060000000100");
    builder.add({first, second});
    const auto rows = read(builder.build(), memo);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Длинная заметка о подписчике");
    EXPECT_EQ(rows[0][1], "Кратко");
    EXPECT_EQ(read(builder.build())[0][0], "Длинн") << "without the memo file, the part in the record";
}

TEST_F(ParadoxTest, VersionsAndCodePagesReadTheSameRowsAsOurOwnTable)
{
    makeTable(QStringLiteral("ours.db"),
              QStringLiteral("Tel VARCHAR(5), Abon VARCHAR(150), Otdel VARCHAR(150), "
                             "Adres VARCHAR(60)"),
              kSubscribers);
    struct Case {
        int versionId;
        int codePage;
    };
    for (const Case c : {Case{3, 0}, Case{5, 866}, Case{10, 1251}, Case{12, 866}, Case{12, 0}}) {
        PB builder = directoryBuilder();
        builder.versionId = c.versionId;
        builder.codePage = c.codePage;
        for (const QStringList &row : kSubscribers)
            builder.addTexts(row);
        writeFile(path("data.db"), builder.build());
        for (const QString &prefix : {QString(), QStringLiteral("1"), QStringLiteral("22"), QStringLiteral("9")}) {
            int counts[2] = {};
            for (const char *file : {"ours.db", "data.db"}) {
                Query query;
                query.setSql({QStringLiteral("SELECT Tel, Abon FROM \"%1\" t WHERE Tel LIKE :p AND Abon LIKE :a")
                                  .arg(QLatin1String(file))});
                query.setParamByName("p", prefix + "%");
                query.setParamByName("a", "%");
                query.open();
                counts[file[0] == 'd'] = query.recordCount();
                if (file[0] == 'd' && query.recordCount() > 0) {
                    EXPECT_EQ(query.fieldByName("Abon").asString(),
                              kSubscribers[std::size_t(prefix == "22" ? 2 : 0)][1]);
                }
            }
            EXPECT_EQ(counts[1], counts[0]) << c.versionId << " " << c.codePage << " prefix " << prefix.toStdString();
        }
        EXPECT_EQ(engineRows(QStringLiteral("data.db")), engineRows(QStringLiteral("ours.db"))) << c.versionId;
    }
}

TEST_F(ParadoxTest, OnlyTheLiveRecordsOfTheBlockChainShowInTableOrder)
{
    PB builder = directoryBuilder();
    builder.perBlock = 2;
    builder.deletedTail = builder.alpha("99999", 5);
    builder.staleBlock = true;
    std::vector<QStringList> rows;
    for (int i = 0; i < 7; ++i) {
        rows.push_back({QString::number(10000 + i), QStringLiteral("АБОНЕНТ %1").arg(i), QString(), QString()});
        builder.addTexts(rows.back());
    }
    writeFile(path("data.db"), builder.build());
    writeFile(path("data.px"), QByteArray(2048, '\x7f')); // an index beside it is not read
    EXPECT_EQ(engineRows(QStringLiteral("data.db")), rows);
}

TEST_F(ParadoxTest, HostileTablesAreRefusedInRussian)
{
    using namespace paradoxheader;
    PB builder = directoryBuilder();
    builder.perBlock = 2;
    for (const QStringList &row : kSubscribers)
        builder.addTexts(row);
    const QByteArray good = builder.build();
    PB sealed = builder;
    sealed.encrypted = true;
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *expected;
    };
    const auto patched = [&](auto change) {
        QByteArray bytes = good;
        change(bytes);
        return bytes;
    };
    const Case cases[] = {
        {"encrypted", sealed.build(), "защищена паролем"},
        {"truncated", good.left(good.size() - 100), "за концом файла"},
        {"header past the end", patched([](QByteArray &b) { patch16(b, kHeaderSize, 0xF000); }), "длиннее файла"},
        {"header shorter than its version's", patched([](QByteArray &b) {
             b.truncate(0x60);
             patch16(b, kHeaderSize, 0x60);
         }),
         "короче положенного"},
        {"more records than blocks", patched([](QByteArray &b) { patch32(b, kRecordCount, 6); }), "в заголовке"},
        {"fewer records", patched([](QByteArray &b) { patch32(b, kRecordCount, 2); }), "в заголовке"},
        {"block out of the file", patched([](QByteArray &b) { patch16(b, kFirstBlock, 40); }), "блок"},
        {"chain in a loop", patched([](QByteArray &b) { patch16(b, 0x800, 1); }), "цепочка"},
        {"fields past the record", patched([](QByteArray &b) { patch16(b, kRecordSize, 300); }), "запись"},
        {"record count past the block", patched([](QByteArray &b) { patch16(b, 0x804, 0x7000); }), "неверное"},
    };
    for (const Case &c : cases) {
        const QString message = refusal(c.bytes);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.expected))) << c.what << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("Paradox"))) << c.what;
    }
    EXPECT_TRUE(refusal(good).isEmpty());
}

// -------------------------------------------------------------- the book's move

namespace {

class ParadoxBookTest : public WorkDirTest {
protected:
    QByteArray makeBook(int count)
    {
        PB builder;
        builder.fields = {
            {PB::Alpha, 30, "FIO"}, {PB::Alpha, 40, "ADR"}, {PB::Alpha, 15, "TEL"}, {PB::Alpha, 50, "MAIL"}};
        builder.blockKb = 4;
        for (int i = 0; i < count; ++i) {
            rows.push_back({QStringLiteral("Иванов %1").arg(i), QStringLiteral("ул. Ленина, %1").arg(i),
                            QString::number(100000 + i), i % 2 ? QString() : QStringLiteral("a%1@example.org").arg(i)});
            builder.addTexts(rows.back());
        }
        const QByteArray bytes = builder.build();
        writeFile(path("basamy.db"), bytes);
        writeFile(path("basamy.PX"), "index");
        return bytes;
    }
    std::vector<QStringList> rows;
};

} // namespace

TEST_F(ParadoxBookTest, TheFirstOpenMovesTheBookOnceKeepingTheOriginalByteForByte)
{
    const QByteArray original = makeBook(300);
    Table table;
    table.setTableName(QStringLiteral("basamy.db"));
    table.open();
    ASSERT_TRUE(table.paradoxMove().has_value());
    EXPECT_EQ(table.paradoxMove()->keptAs, QStringLiteral("basamy-paradox.db"));
    EXPECT_EQ(table.paradoxMove()->keptSideFiles, QStringList{QStringLiteral("basamy-paradox.PX")});
    EXPECT_EQ(table.paradoxMove()->records, 300);
    EXPECT_EQ(table.recordCount(), 300);
    EXPECT_EQ(readFile(path("basamy-paradox.db")), original);
    EXPECT_EQ(readFile(path("basamy-paradox.PX")), "index");
    EXPECT_FALSE(QFileInfo::exists(path("basamy.PX")));
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")), rows);

    table.append(); // the moved book takes new records
    table.fieldByName(QStringLiteral("FIO")).setAsString(QStringLiteral("Новый"));
    table.post();
    table.close();
    table.open();
    EXPECT_FALSE(table.paradoxMove().has_value()) << "moved once";
    EXPECT_EQ(table.recordCount(), 301);
    EXPECT_EQ(readFile(path("basamy-paradox.db")), original);
}

TEST_F(ParadoxBookTest, AnEncryptedOrDamagedBookIsRefusedAndLeftAsItIs)
{
    PB sealed;
    sealed.fields = {{PB::Alpha, 30, "FIO"}};
    sealed.encrypted = true;
    sealed.addTexts({QStringLiteral("Иванов")});
    const QByteArray damaged = makeBook(10).left(3000);
    for (const QByteArray &bytes : {sealed.build(), damaged}) {
        writeFile(path("basamy.db"), bytes);
        Table table;
        table.setTableName(QStringLiteral("basamy.db"));
        EXPECT_THROW(table.open(), EDatabaseError);
        EXPECT_EQ(readFile(path("basamy.db")), bytes);
        EXPECT_FALSE(QFileInfo::exists(path("basamy-paradox.db")));
    }
}

// A move killed at a growing delay each time: the folder always holds the
// original under its own name, or the original kept and the complete book.
TEST_F(ParadoxBookTest, AMoveKilledAtAnyMomentLeavesAConsistentFolder)
{
    const QByteArray original = makeBook(20000);
    bool sawBoth = false;
    bool sawOriginal = false;
    for (int delayUs = 0; delayUs < 2000000 && !(sawBoth && sawOriginal); delayUs = delayUs * 3 / 2 + 500) {
        writeFile(path("basamy.db"), original);
        QFile::remove(path("basamy-paradox.db"));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            moveParadoxTable(QStringLiteral("basamy.db"));
            _exit(0);
        }
        usleep(useconds_t(delayUs));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (readFile(path("basamy.db")) == original) {
            sawOriginal = true;
            continue;
        }
        sawBoth = true;
        EXPECT_EQ(readFile(path("basamy-paradox.db")), original) << delayUs;
        EXPECT_EQ(readTable(QStringLiteral("basamy.db")), rows) << delayUs;
    }
    EXPECT_TRUE(sawOriginal && sawBoth);
    Table table; // whatever the kill left, the next open ends with the complete book
    table.setTableName(QStringLiteral("basamy.db"));
    table.open();
    EXPECT_EQ(table.recordCount(), 20000);
}
