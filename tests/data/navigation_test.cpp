#include "data/table.h"
#include "support/tablefixture.h"

using namespace data;

namespace {

using NavigationTest = NumbersTest;

TEST_F(NavigationTest, MoveByReturnsHowFarItMovedAndStopsAtEitherEnd)
{
    openNumbers(10);
    EXPECT_TRUE(numbers.bof());
    EXPECT_EQ(numbers.moveBy(-1), 0) << "already at the beginning";
    EXPECT_EQ(numbers.moveBy(4), 4);
    EXPECT_EQ(current(), 5);
    EXPECT_FALSE(numbers.bof());
    EXPECT_EQ(numbers.moveBy(100), 5);
    EXPECT_EQ(current(), 10);
    EXPECT_TRUE(numbers.eof()) << "a move cut short at the end sets eof";
    EXPECT_EQ(numbers.moveBy(1), 0);
    EXPECT_EQ(numbers.moveBy(-3), -3);
    EXPECT_FALSE(numbers.eof());
    EXPECT_EQ(numbers.moveBy(-100), -6);
    EXPECT_TRUE(numbers.bof());
    EXPECT_EQ(numbers.moveBy(INT_MAX), 9) << "no overflow";
    EXPECT_EQ(numbers.moveBy(INT_MIN), -9);
}

TEST_F(NavigationTest, AWalkVisitsEveryRecordOnce)
{
    openNumbers(7);
    int sum = 0, visited = 0;
    for (numbers.first(); !numbers.eof(); numbers.next()) {
        sum += current();
        ++visited;
    }
    EXPECT_EQ(visited, 7);
    EXPECT_EQ(sum, 28);
    numbers.last();
    EXPECT_TRUE(numbers.eof());
    EXPECT_EQ(current(), 7);
    numbers.prior();
    EXPECT_EQ(current(), 6);
}

TEST_F(NavigationTest, RecordNumbersAreClampedIntoTheResult)
{
    openNumbers(1000);
    numbers.setRecNo(500);
    EXPECT_EQ(numbers.recNo(), 500);
    EXPECT_EQ(current(), 500);
    numbers.setRecNo(5000);
    EXPECT_EQ(numbers.recNo(), 1000);
    numbers.setRecNo(-3);
    EXPECT_EQ(numbers.recNo(), 1);
    EXPECT_EQ(numbers.recordCount(), 1000);
    numbers.close();
    EXPECT_EQ(numbers.recNo(), 0);
    EXPECT_EQ(numbers.recordCount(), 0);
    EXPECT_THROW(numbers.first(), EDatabaseError) << "a closed dataset cannot move";
}

TEST_F(NavigationTest, SingleRecord)
{
    openNumbers(1);
    EXPECT_TRUE(numbers.bof());
    EXPECT_FALSE(numbers.eof());
    numbers.next();
    EXPECT_TRUE(numbers.eof());
    EXPECT_EQ(current(), 1);
}

// ---------------------------------------------------------------- events

class EventsTest : public NumbersTest {
protected:
    void record(DataSetNotifyEvent &event, const char *name)
    {
        event = [this, name](DataSet &sender) {
            EXPECT_EQ(&sender, &table);
            log.append(QString::fromLatin1(name));
        };
    }
    void recordAll()
    {
        record(table.AfterOpen, "AfterOpen");
        record(table.AfterClose, "AfterClose");
        record(table.AfterInsert, "AfterInsert");
        record(table.AfterEdit, "AfterEdit");
        record(table.AfterPost, "AfterPost");
        record(table.AfterCancel, "AfterCancel");
        record(table.BeforeDelete, "BeforeDelete");
        record(table.AfterScroll, "AfterScroll");
    }
    QStringList take() { return std::exchange(log, {}); }

    Table table;
    QStringList log;
};

TEST_F(EventsTest, EventsComeInTheOrderOfTheOperations)
{
    makeNumbers(3);
    table.setTableName(QStringLiteral("nums.db"));
    recordAll();
    table.open();
    EXPECT_EQ(take(), QStringList({"AfterOpen", "AfterScroll"}));
    table.next();
    EXPECT_EQ(take(), QStringList({"AfterScroll"}));
    table.next();
    EXPECT_EQ(take(), QStringList({"AfterScroll"}));
    table.next();
    EXPECT_EQ(take(), QStringList({"AfterScroll"})) << "a move cut short at the end still scrolls";
    table.next();
    EXPECT_EQ(take(), QStringList()) << "at eof nothing moves";
    table.append();
    EXPECT_EQ(take(), QStringList({"AfterInsert", "AfterScroll"}));
    table.fieldByName("N").setAsString("4");
    table.post();
    EXPECT_EQ(take(), QStringList({"AfterPost"}));
    table.edit();
    table.cancel();
    EXPECT_EQ(take(), QStringList({"AfterEdit", "AfterCancel"}));
    table.deleteRecord();
    EXPECT_EQ(take(), QStringList({"BeforeDelete", "AfterScroll"}));
    EXPECT_FALSE(table.locate("N", "9", 0));
    EXPECT_EQ(take(), QStringList()) << "a locate that finds nothing does not scroll";
    table.close();
    EXPECT_EQ(take(), QStringList({"AfterClose"}));
    table.close();
    EXPECT_EQ(take(), QStringList()) << "closing a closed dataset is harmless";
}

TEST_F(EventsTest, BeforeDeleteSeesTheRecordAboutToGo)
{
    makeNumbers(3);
    table.setTableName(QStringLiteral("nums.db"));
    table.open();
    table.next();
    QString seen;
    table.BeforeDelete = [&](DataSet &sender) { seen = sender.fieldByName("N").asString(); };
    table.deleteRecord();
    EXPECT_EQ(seen, "2");
}

TEST_F(EventsTest, OpeningAnEmptyResultDoesNotScroll)
{
    makeTable(QStringLiteral("empty.db"), QStringLiteral("N VARCHAR(10)"));
    table.setTableName(QStringLiteral("empty.db"));
    recordAll();
    table.open();
    EXPECT_EQ(take(), QStringList({"AfterOpen"}));
}

TEST_F(EventsTest, HandlersCanBeSavedReplacedAndChained)
{
    makeNumbers(2);
    table.setTableName(QStringLiteral("nums.db"));
    record(table.AfterOpen, "window");
    // Two hooks in turn, each calling the one it replaced; one of them
    // removes itself from inside its own call.
    for (const char *hook : {"first hook", "second hook"}) {
        DataSetNotifyEvent saved = table.AfterOpen;
        table.AfterOpen = [this, hook, saved](DataSet &sender) {
            log.append(QString::fromLatin1(hook));
            if (saved)
                saved(sender);
        };
    }
    table.open();
    EXPECT_EQ(take(), QStringList({"second hook", "first hook", "window"}));

    DataSetNotifyEvent saved = table.AfterClose;
    table.AfterClose = [this, saved](DataSet &sender) {
        log.append("removing");
        table.AfterClose = saved;
        if (saved)
            saved(sender);
    };
    table.close();
    table.open();
    table.close();
    EXPECT_EQ(take(), QStringList({"removing", "second hook", "first hook", "window"}));
}

} // namespace
