// What a grid and its summary list hold of a dataset never outlives it, and
// one list leaving a dataset leaves the others counting.
#include "gridfixture.h"

#include "windows/declaredgrid.h"

using namespace grid;

namespace {

QString countText(TDBGridEx &g, int col)
{
    return g.FooterText(0, g.columns()[col]);
}

void appendAndPost(data::DataSet &ds, const QString &tel)
{
    ds.append();
    ds.fieldByName("Tel").setAsString(tel);
    ds.post();
}

} // namespace

TEST(GridLifetime, DatasetDestroyedWhileShownLeavesGridAndListUnbound)
{
    MainGridSetup s(3);
    auto table = std::make_unique<data::Table>();
    table->setTableName("t.db");
    data::DataSource source(table.get());
    s.grid->setDataSource(&source);
    table->open();
    ASSERT_EQ(countText(*s.grid, 1), "3");
    table.reset();
    EXPECT_EQ(s.grid->sumList().dataSet(), nullptr);
    EXPECT_EQ(countText(*s.grid, 1), "0");
    EXPECT_EQ(s.grid->recordRows(), 0);
    // Both used to reach the freed dataset.
    s.grid->sumList().setActive(false);
    s.grid->sumList().setActive(true);
    s.grid->setDataSource(&s.source);
    s.table.open();
    EXPECT_EQ(countText(*s.grid, 1), "3");
}

TEST(GridLifetime, SourceDestroyedWhileShownLeavesGridAndListUnbound)
{
    MainGridSetup s(3);
    auto source = std::make_unique<data::DataSource>(&s.table);
    s.grid->setDataSource(source.get());
    s.table.open();
    source.reset();
    EXPECT_EQ(s.grid->dataSet(), nullptr);
    EXPECT_EQ(s.grid->sumList().dataSet(), nullptr);
    EXPECT_EQ(s.grid->recordRows(), 0);
}

TEST(GridLifetime, OneListLeavingTheDatasetLeavesTheOtherCounting)
{
    const std::vector<std::pair<const char *, std::function<void(MainGridSetup &, data::DataSource &)>>> leaving{
        {"switched off", [](MainGridSetup &s, data::DataSource &) { s.grid->sumList().setActive(false); }},
        {"destroyed", [](MainGridSetup &s, data::DataSource &) { s.grid.reset(); }},
        {"re-bound", [](MainGridSetup &s, data::DataSource &other) { s.grid->setDataSource(&other); }},
    };
    for (const auto &[how, leave] : leaving) {
        SCOPED_TRACE(how);
        MainGridSetup s(4);
        auto lower = makeLowerGrid(s, "Abon");
        data::Table otherTable;
        data::DataSource other(&otherTable);
        s.table.open();
        ASSERT_EQ(countText(*lower, 0), "4");
        leave(s, other);
        appendAndPost(s.table, "5");
        EXPECT_EQ(countText(*lower, 0), "5");
        s.table.close();
        s.table.open();
        EXPECT_EQ(countText(*lower, 0), "5");
    }
}

TEST(GridLifetime, LockedLayoutNeverReadsAFieldOfAnEarlierOpen)
{
    MainGridSetup s(2);
    writeTableFile("u.db", {"X VARCHAR(5)", "Tel VARCHAR(5)"}, 1, [](int) { return QStringList{"x", "77"}; });
    s.table.open();
    s.grid->LockLayout();
    s.table.close();
    s.table.setTableName("u.db");
    s.table.open();
    EXPECT_EQ(s.grid->recordText(0, s.grid->columns()[0]), "77");
    EXPECT_EQ(s.grid->recordText(0, s.grid->columns()[1]), "");
    s.grid->UnlockLayout();
}

TEST(GridLifetime, ColumnRemovedUnderLockedLayoutLeavesNoTitleBehind)
{
    MainGridSetup s(2);
    s.table.open();
    s.grid->columns()[0].title().setCaption("Абонент|Телефон");
    s.grid->columns()[1].title().setCaption("Абонент|Имя");
    s.grid->LockLayout();
    s.grid->columns().remove(0);
    EXPECT_EQ(s.grid->titleTree().root().Children.size(), 0u);
    s.grid->grab(); // paints the titles
    s.grid->UnlockLayout();
    EXPECT_EQ(s.grid->titleTree().root().Children.size(), 1u);
}
