#include "data/datasource.h"
#include "data/table.h"
#include "support/tablefixture.h"

using namespace data;

namespace {

// Records every notification as a short word, with the window as the link
// sees it at that moment.
class RecordingLink : public DataLink {
public:
    QStringList log;
    QStringList take() { return std::exchange(log, {}); }

protected:
    void activeChanged() override { log.append(active() ? "active" : "inactive"); }
    void dataSetChanged() override { log.append("changed"); }
    void dataSetScrolled(int distance) override { log.append(QStringLiteral("scrolled %1").arg(distance)); }
    void recordChanged(Field *field) override { log.append(field ? "record " + field->fieldName() : "record"); }
    void layoutChanged() override { log.append("layout"); }
    void editingChanged() override { log.append("editing"); }
};

class DataLinkTest : public NumbersTest {
protected:
    void SetUp() override
    {
        NumbersTest::SetUp();
        source.setDataSet(&numbers);
        link.setDataSource(&source);
        link.setBufferCount(5);
    }

    // The values shown in the window, read the way a grid paints its rows.
    QStringList windowValues()
    {
        QStringList values;
        const int saved = link.activeRecord();
        for (int i = 0; i < link.recordCount(); ++i) {
            link.setActiveRecord(i);
            values.append(numbers.fieldByName("N").asString());
        }
        link.setActiveRecord(saved);
        return values;
    }

    DataSource source;
    RecordingLink link;
};

TEST_F(DataLinkTest, WindowScrollsOnlyAsFarAsTheCurrentRecordNeeds)
{
    openNumbers(20);
    EXPECT_EQ(link.take(), QStringList({"active"}));
    EXPECT_EQ(link.recordCount(), 5);
    EXPECT_EQ(link.activeRecord(), 0);
    numbers.moveBy(4);
    EXPECT_EQ(link.take(), QStringList({"scrolled 0"})) << "still inside the window";
    EXPECT_EQ(link.activeRecord(), 4);
    numbers.next();
    EXPECT_EQ(link.take(), QStringList({"scrolled 1"}));
    EXPECT_EQ(link.activeRecord(), 4);
    EXPECT_EQ(windowValues(), QStringList({"2", "3", "4", "5", "6"}));
    numbers.moveBy(-4);
    EXPECT_EQ(link.take(), QStringList({"scrolled 0"}));
    EXPECT_EQ(link.activeRecord(), 0);
    numbers.prior();
    EXPECT_EQ(link.take(), QStringList({"scrolled -1"}));
    numbers.moveBy(12);
    EXPECT_EQ(link.take(), QStringList({"scrolled 8"}));
    EXPECT_EQ(link.firstRecord(), 8);
}

TEST_F(DataLinkTest, JumpsKeepTheWindowFull)
{
    openNumbers(1000000 / 1000);
    link.take();
    numbers.last();
    EXPECT_EQ(link.take(), QStringList({"changed"}));
    EXPECT_EQ(link.activeRecord(), 4);
    EXPECT_EQ(windowValues(), QStringList({"996", "997", "998", "999", "1000"}));
    numbers.setRecNo(500);
    EXPECT_EQ(link.activeRecord(), 2) << "a far jump centres the record";
    EXPECT_EQ(windowValues(), QStringList({"498", "499", "500", "501", "502"}));
    numbers.first();
    EXPECT_EQ(link.firstRecord(), 0);
    EXPECT_EQ(link.activeRecord(), 0);
}

TEST_F(DataLinkTest, ActiveRecordOverrideReadsAnotherRowWithoutMovingTheCursor)
{
    openNumbers(10);
    numbers.moveBy(2);
    link.setActiveRecord(4);
    EXPECT_EQ(link.activeRecord(), 4);
    EXPECT_EQ(numbers.fieldByName("N").asString(), "5");
    EXPECT_EQ(numbers.recNo(), 3) << "the cursor stays";
    link.setActiveRecord(2);
    EXPECT_EQ(numbers.fieldByName("N").asString(), "3") << "restoring the index reads the cursor again";
    link.setActiveRecord(7);
    EXPECT_EQ(link.activeRecord(), 2) << "an index outside the window is ignored";
    numbers.next();
    EXPECT_EQ(current(), 4);
}

TEST_F(DataLinkTest, BufferCountChangesKeepTheCurrentRecordInside)
{
    openNumbers(10);
    numbers.moveBy(4);
    link.setBufferCount(2);
    EXPECT_EQ(link.firstRecord(), 3);
    EXPECT_EQ(link.activeRecord(), 1);
    link.setBufferCount(20);
    EXPECT_EQ(link.firstRecord(), 0) << "a larger window fills up from above";
    EXPECT_EQ(link.recordCount(), 10);
    link.setBufferCount(0);
    EXPECT_EQ(link.bufferCount(), 1);
}

TEST_F(DataLinkTest, EmptyAndClosedDatasetsShowNoRecords)
{
    openNumbers(0);
    EXPECT_TRUE(link.active());
    EXPECT_EQ(link.recordCount(), 0);
    EXPECT_EQ(link.activeRecord(), 0);
    numbers.close();
    EXPECT_FALSE(link.active());
    EXPECT_EQ(link.take(), QStringList({"active", "inactive"}));
    EXPECT_EQ(link.recordCount(), 0);
}

TEST_F(DataLinkTest, DisabledControlsHearNothingUntilOneChangeAtTheEnd)
{
    openNumbers(10);
    link.take();
    numbers.disableControls();
    numbers.disableControls();
    for (numbers.first(); !numbers.eof(); numbers.next()) {
    }
    numbers.first();
    numbers.enableControls();
    EXPECT_TRUE(link.take().isEmpty()) << "still disabled once";
    numbers.enableControls();
    EXPECT_EQ(link.take(), QStringList({"changed"}));
    EXPECT_EQ(link.firstRecord(), 0);
    numbers.enableControls();
    EXPECT_FALSE(numbers.controlsDisabled()) << "an extra enable is harmless";

    numbers.disableControls();
    numbers.close();
    numbers.open();
    numbers.close();
    numbers.enableControls();
    EXPECT_EQ(link.take(), QStringList({"inactive"})) << "a state change made while disabled is reported once";
}

TEST_F(DataLinkTest, EditingIsReported)
{
    makeNumbers(3);
    Table table;
    table.setTableName(QStringLiteral("nums.db"));
    source.setDataSet(&table);
    table.open();
    link.take();
    table.edit();
    EXPECT_EQ(link.take(), QStringList({"editing", "record"}));
    table.fieldByName("N").setAsString("33");
    EXPECT_EQ(link.take(), QStringList({"record N"}));
    table.post();
    EXPECT_EQ(link.take(), QStringList({"editing", "changed"}));
    table.append();
    EXPECT_EQ(link.recordCount(), 4) << "the pending record shows in the window";
    EXPECT_EQ(link.activeRecord(), 3);
    table.cancel();
    EXPECT_EQ(link.recordCount(), 3);
    source.setDataSet(nullptr);
    EXPECT_FALSE(link.active());
}

TEST_F(DataLinkTest, TwoLinksShareOneCurrentRecord)
{
    RecordingLink other;
    other.setDataSource(&source);
    other.setBufferCount(3);
    openNumbers(10);
    numbers.moveBy(6);
    EXPECT_EQ(link.activeRecord(), 4);
    EXPECT_EQ(other.activeRecord(), 2);
    EXPECT_EQ(other.take().last(), "scrolled 4");
}

TEST_F(DataLinkTest, LinksAndSourcesMayGoFirst)
{
    openNumbers(3);
    {
        auto temporary = std::make_unique<RecordingLink>();
        temporary->setDataSource(&source);
        EXPECT_EQ(temporary->take(), QStringList({"active"}));
    }
    numbers.next(); // the destroyed link is no longer notified
    auto shortLived = std::make_unique<DataSource>(&numbers);
    RecordingLink orphan;
    orphan.setDataSource(shortLived.get());
    shortLived.reset();
    EXPECT_EQ(orphan.dataSource(), nullptr);
    EXPECT_FALSE(orphan.active());
    numbers.next();
}

} // namespace
