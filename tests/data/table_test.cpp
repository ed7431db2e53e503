#include "data/table.h"
#include "data/tablefile.h"
#include "support/tablefixture.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace data;

namespace {

const QString kBookColumns = QStringLiteral("FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), MAIL VARCHAR(50)");

class TableTest : public WorkDirTest {
protected:
    void openBook(const std::vector<QStringList> &rows = {})
    {
        makeTable(QStringLiteral("basamy.db"), kBookColumns, rows);
        table.setTableName(QStringLiteral("basamy.db"));
        table.open();
    }

    void store(const QStringList &values)
    {
        table.append();
        setAll(values);
        table.post();
    }

    void setAll(const QStringList &values)
    {
        const char *names[] = {"FIO", "ADR", "TEL", "MAIL"};
        for (int i = 0; i < values.size(); ++i)
            table.fieldByName(names[i]).setAsString(values[i]);
    }

    QString fio() const { return table.fieldByName(QStringLiteral("FIO")).asString(); }

    Table table;
};

TEST_F(TableTest, PostedRecordIsStoredDurablyAndStaysCurrent)
{
    openBook({{"Б", "", "", ""}});
    store({"Иванов Иван", "Ленина 1", "12345", "ivanov@example.org"});
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(fio(), "Иванов Иван");
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")).back(),
              QStringList({"Иванов Иван", "Ленина 1", "12345", "ivanov@example.org"}));
}

TEST_F(TableTest, EmptyTextIsStoredAsNullAndReadsBackNull)
{
    openBook({{"Пустой", "", QString(), ""}});
    EXPECT_TRUE(table.fieldByName("ADR").isNull()) << "a stored empty text reads as null";
    store({"Только имя", "", "", ""});
    const QStringList stored = readTable(QStringLiteral("basamy.db")).back();
    EXPECT_EQ(stored[0], "Только имя");
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(stored[i].isNull()) << "column " << i;
    EXPECT_TRUE(table.fieldByName("MAIL").isNull());
}

TEST_F(TableTest, LongTextsAreCutToTheFieldSizeInCharacters)
{
    openBook();
    const QString name = QString(40, QChar(u'Ж')); // 80 bytes of UTF-8
    const QString phone = QStringLiteral("+375 17 123-45-67-89");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(60); // 120 UTF-16 units
    store({name, QString(45, u'a'), phone, emoji});
    const QStringList stored = readTable(QStringLiteral("basamy.db")).back();
    EXPECT_EQ(stored[0], QString(30, QChar(u'Ж')));
    EXPECT_EQ(stored[1], QString(40, u'a'));
    EXPECT_EQ(stored[2], phone.left(15));
    EXPECT_EQ(stored[3], QString::fromUtf8("\xF0\x9F\x98\x80").repeated(50)) << "characters, not UTF-16 units";
    EXPECT_EQ(fio(), QString(30, QChar(u'Ж'))) << "the result shows what was stored";
    EXPECT_EQ(table.fieldByName("FIO").size(), 30);
}

TEST_F(TableTest, EditChangesTheCurrentRecordOnly)
{
    openBook({{"Первый", "А", "1", ""}, {"Второй", "Б", "2", ""}});
    table.next();
    table.edit();
    EXPECT_EQ(table.state(), DataSetState::Edit);
    EXPECT_EQ(fio(), "Второй") << "edit starts from the stored values";
    setAll({"Второй изменён", "", "22", ""});
    EXPECT_TRUE(table.modified());
    table.post();
    EXPECT_EQ(table.recNo(), 2);
    const auto rows = readTable(QStringLiteral("basamy.db"));
    EXPECT_EQ(rows[0], QStringList({"Первый", "А", "1", QString()}));
    EXPECT_EQ(rows[1], QStringList({"Второй изменён", QString(), "22", QString()}));
}

TEST_F(TableTest, EditOnAnEmptyTableStartsANewRecord)
{
    openBook();
    table.edit();
    EXPECT_EQ(table.state(), DataSetState::Insert);
    setAll({"Новый", "", "", ""});
    table.post();
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")).size(), 1u);
    EXPECT_FALSE(table.isEmpty());
}

TEST_F(TableTest, CancelDropsThePendingRecord)
{
    openBook({{"Первый", "", "", ""}, {"Второй", "", "", ""}});
    table.next();
    table.insert();
    EXPECT_EQ(table.recordCount(), 2) << "a pending insert is not counted";
    EXPECT_FALSE(table.eof()) << "inserted before the current record";
    setAll({"Лишний", "", "", ""});
    table.cancel();
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(fio(), "Второй") << "back on the record current before";
    table.edit();
    setAll({"Не сохранять", "", "", ""});
    table.cancel();
    EXPECT_EQ(fio(), "Второй");
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")).size(), 2u);
}

TEST_F(TableTest, MovingAwayStoresAModifiedRecord)
{
    openBook({{"Первый", "", "", ""}});
    table.append();
    EXPECT_TRUE(table.eof()) << "an appended record stands at the end";
    setAll({"Второй", "", "", ""});
    table.first();
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")).size(), 2u);
}

TEST_F(TableTest, DeleteRemovesTheCurrentRecordAndANeighbourBecomesCurrent)
{
    openBook({{"А", "", "", ""}, {"Б", "", "", ""}, {"В", "", "", ""}});
    table.next();
    table.deleteRecord();
    EXPECT_EQ(fio(), "В");
    table.deleteRecord();
    EXPECT_EQ(fio(), "А") << "after the last record the one before becomes current";
    table.deleteRecord();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.eof());
    EXPECT_TRUE(readTable(QStringLiteral("basamy.db")).empty());
    try {
        table.deleteRecord();
        FAIL() << "deleted from an empty table";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.message(), "Cannot perform this operation on an empty dataset");
    }
}

TEST_F(TableTest, LocateFoldsCyrillicAndLatinCaseInTableOrder)
{
    openBook({{"Петров", "", "", ""},
              {"ивАНОВ", "", "", ""},
              {"Иванова", "", "", ""},
              {"Ёлкин", "", "", ""},
              {"Smith", "", "", ""},
              {QString(), "", "", ""}});
    const int options = loCaseInsensitive | loPartialKey;
    EXPECT_TRUE(table.locate("FIO", "ИВ", options));
    EXPECT_EQ(table.recNo(), 2) << "the first match in table order";
    EXPECT_TRUE(table.locate("fio", "иванова", options));
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_TRUE(table.locate("FIO", "ёЛ", options));
    EXPECT_EQ(table.recNo(), 4);
    EXPECT_TRUE(table.locate("FIO", "sMI", options));
    EXPECT_EQ(table.recNo(), 5);
    EXPECT_FALSE(table.locate("FIO", "Сидоров", options));
    EXPECT_EQ(table.recNo(), 5) << "no match leaves the record where it was";
    EXPECT_FALSE(table.locate("FIO", "ИВАН", loPartialKey)) << "case kept without the option";
    EXPECT_TRUE(table.locate("FIO", "Иванова", 0));
    EXPECT_FALSE(table.locate("FIO", "Иванов", 0)) << "without partial key the whole value must match";
    EXPECT_THROW(table.locate("Fax", "x", options), EDatabaseError);
}

TEST_F(TableTest, FieldDefIndexFollowsTheTableStructure)
{
    openBook();
    EXPECT_EQ(table.fieldDefIndex("FIO"), 0);
    EXPECT_EQ(table.fieldDefIndex("mail"), 3);
    EXPECT_EQ(table.fieldDefIndex("Fax"), -1);
}

TEST_F(TableTest, EmptyRemovesEveryRecordOfTheClosedTableAndKeepsTheFile)
{
    openBook({{"А", "", "", ""}, {"Б", "", "", ""}});
    EXPECT_THROW(table.emptyTable(), EDatabaseError) << "only while closed";
    table.close();
    table.emptyTable();
    EXPECT_TRUE(QFileInfo::exists(path("basamy.db")));
    table.open();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.fieldCount(), 4);
}

TEST_F(TableTest, MissingTableFileIsAnErrorAndIsNotCreated)
{
    table.setTableName(QStringLiteral("basamy.db"));
    try {
        table.open();
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_TRUE(error.message().startsWith("Файл таблицы \"basamy.db\" не найден"))
            << error.message().toStdString();
    }
    EXPECT_FALSE(table.active());
    EXPECT_FALSE(QFileInfo::exists(path("basamy.db")));
}

TEST_F(TableTest, PostToALockedTableFailsAndKeepsTheRecordInEdit)
{
    openBook();
    table.append();
    setAll({"Иванов", "", "", ""});
    sqlite3 *writer = nullptr;
    sqlite3_open(path("basamy.db").toUtf8().constData(), &writer);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        table.post();
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.message(), "Файл таблицы \"basamy.db\" занят другой программой");
    }
    EXPECT_EQ(table.state(), DataSetState::Insert);
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    table.post();
    EXPECT_EQ(readTable(QStringLiteral("basamy.db")).size(), 1u);
}

TEST_F(TableTest, DeletingATableFileRemovesItsSideFiles)
{
    makeTable(QStringLiteral("data.db"), QStringLiteral("Tel VARCHAR(5)"));
    for (const char *side : {"-journal", "-wal", "-shm"}) {
        QFile file(path(QStringLiteral("data.db") + side));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(deleteTableFile(QStringLiteral("data.db")));
    for (const char *name : {"data.db", "data.db-journal", "data.db-wal", "data.db-shm"})
        EXPECT_FALSE(QFileInfo::exists(path(name))) << name;
    EXPECT_TRUE(deleteTableFile(QStringLiteral("data.db"))) << "an absent file counts as deleted";
}

// A writer process is killed at a random moment; every record whose post had
// returned (and was reported through the pipe) must be in the file.
TEST_F(TableTest, EveryRecordWhosePostReturnedSurvivesAKill)
{
    makeTable(QStringLiteral("basamy.db"), kBookColumns);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        Table writer;
        writer.setTableName(QStringLiteral("basamy.db"));
        writer.open();
        for (int i = 0;; ++i) {
            writer.append();
            writer.fieldByName(QStringLiteral("FIO")).setAsString(QStringLiteral("Абонент %1").arg(i));
            writer.post();
            if (write(pipeEnds[1], &i, sizeof i) != sizeof i)
                _exit(1);
        }
    }
    close(pipeEnds[1]);
    int reported = -1;
    int received = 0;
    for (int count = 0; count < 40 && read(pipeEnds[0], &received, sizeof received) == sizeof received; ++count)
        reported = received;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    while (read(pipeEnds[0], &received, sizeof received) == sizeof received)
        reported = received;
    close(pipeEnds[0]);

    ASSERT_GE(reported, 39);
    const auto rows = readTable(QStringLiteral("basamy.db"));
    ASSERT_GE(int(rows.size()), reported + 1);
    for (int i = 0; i <= reported; ++i)
        EXPECT_EQ(rows[i][0], QStringLiteral("Абонент %1").arg(i));
    table.setTableName(QStringLiteral("basamy.db"));
    table.open();
    EXPECT_EQ(table.recordCount(), int(rows.size())) << "the file is consistent after the kill";
}

// The default file system with every file removal recorded: name and
// whether the directory is to be synced after it.
struct RemovalRecorder {
    static inline sqlite3_vfs *real = nullptr;
    static inline std::vector<std::pair<QString, bool>> removals;
    static int remove(sqlite3_vfs *, const char *name, int syncDirectory)
    {
        removals.emplace_back(QString::fromUtf8(name), syncDirectory != 0);
        return real->xDelete(real, name, syncDirectory);
    }
};

// A kill cannot undo a commit, but a power loss can: the commit is the
// journal's removal, which lasts only once its directory is synced too.
TEST_F(TableTest, EveryChangeSyncsTheRemovalOfItsJournal)
{
    makeTable(QStringLiteral("basamy.db"), kBookColumns);
    RemovalRecorder::real = sqlite3_vfs_find(nullptr);
    RemovalRecorder::removals.clear();
    sqlite3_vfs recording = *RemovalRecorder::real;
    recording.zName = "removal-recorder";
    recording.xDelete = &RemovalRecorder::remove;
    ASSERT_EQ(sqlite3_vfs_register(&recording, 1), SQLITE_OK);
    const auto unregister = qScopeGuard([&] { sqlite3_vfs_unregister(&recording); });

    table.setTableName(QStringLiteral("basamy.db"));
    table.open();
    store({QStringLiteral("Иванов")});
    table.edit();
    setAll({QStringLiteral("Петров")});
    table.post();
    table.deleteRecord();
    table.close();
    table.emptyTable();

    int journals = 0;
    for (const auto &[name, synced] : RemovalRecorder::removals) {
        if (!name.endsWith(QStringLiteral("basamy.db-journal")))
            continue;
        ++journals;
        EXPECT_TRUE(synced) << name.toStdString();
    }
    EXPECT_EQ(journals, 4);
}

} // namespace
