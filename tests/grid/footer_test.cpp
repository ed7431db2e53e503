#include "gridfixture.h"

#include "controls/grid/numberformat.h"
#include "windows/declaredgrid.h"

using namespace grid;

namespace {

// Counts full recounts of a list that has items (each walks the dataset).
struct WalkCounter {
    int walks = 0;
    explicit WalkCounter(TDBGridExSumList &list)
    {
        list.OnRecalcAll = [this](TDBGridExSumList &) { ++walks; };
    }
};

QString countText(MainGridSetup &s)
{
    return s.grid->FooterText(0, s.grid->columns()[1]);
}

} // namespace

TEST(GridFooter, StaticTextAndRecordCount)
{
    MainGridSetup s(1234);
    s.table.open();
    EXPECT_EQ(s.grid->FooterText(0, s.grid->columns()[0]), "Записей");
    EXPECT_EQ(countText(s), "1234");
}

TEST(GridFooter, EmptyResultCountsZeroAndClosingClearsIt)
{
    MainGridSetup s(0);
    s.table.open();
    EXPECT_EQ(countText(s), "0");
    MainGridSetup t(7);
    t.table.open();
    EXPECT_EQ(countText(t), "7");
    t.table.close();
    EXPECT_EQ(t.grid->sumList().items().front()->value(), 0);
}

TEST(GridFooter, FormatWithoutDigitPlaceholdersShowsOnlyItsText)
{
    MainGridSetup s(12);
    s.grid->columns()[1].footer().setDisplayFormat("Всего записей в книге:");
    s.table.open();
    EXPECT_EQ(countText(s), "Всего записей в книге:");
    s.grid->columns()[1].footer().setDisplayFormat("Найдено: 0 шт");
    EXPECT_EQ(countText(s), "Найдено: 12 шт");
}

TEST(GridFooter, ExtraFootersServeLaterFooterRows)
{
    MainGridSetup s(3);
    s.grid->setFooterRowCount(2);
    TColumnFooterEx &second = s.grid->columns()[0].footers().add();
    second.setValueType(fvtStaticText);
    second.setValue("второй");
    s.table.open();
    EXPECT_EQ(s.grid->FooterText(0, s.grid->columns()[0]), "второй");
    EXPECT_EQ(s.grid->FooterText(1, s.grid->columns()[0]), "Записей");
}

TEST(GridFooter, FieldValueFooterShowsTheCurrentRecord)
{
    MainGridSetup s(3);
    TColumnFooterEx &f = s.grid->columns()[0].footer();
    f.setValueType(fvtFieldValue);
    EXPECT_EQ(s.grid->FooterText(0, s.grid->columns()[0]), "");
    f.setFieldName("Tel");
    s.table.open();
    s.table.last();
    EXPECT_EQ(s.grid->FooterText(0, s.grid->columns()[0]), "3");
}

TEST(GridSumList, WalksTwiceOnFirstOpenOnceLaterAndNeverOnEdits)
{
    MainGridSetup s(5);
    WalkCounter counter(s.grid->sumList());
    s.table.open();
    EXPECT_EQ(counter.walks, 2);
    s.table.close();
    s.table.open();
    EXPECT_EQ(counter.walks, 3);

    s.table.append();
    s.table.fieldByName("Tel").setAsString("6");
    s.table.post();
    EXPECT_EQ(countText(s), "6");
    s.table.edit();
    s.table.fieldByName("Abon").setAsString("Другой");
    s.table.post();
    EXPECT_EQ(countText(s), "6");
    s.table.deleteRecord();
    EXPECT_EQ(countText(s), "5");
    s.table.append();
    s.table.cancel();
    EXPECT_EQ(countText(s), "5");
    EXPECT_EQ(counter.walks, 3);
}

TEST(GridSumList, RecountLeavesTheFirstRecordCurrent)
{
    MainGridSetup s(5);
    s.table.open();
    s.table.last();
    s.grid->sumList().RecomputeAll();
    EXPECT_EQ(s.table.recNo(), 1);
}

TEST(GridSumList, TwoGridsOnOneDatasetBothCount)
{
    MainGridSetup s(4);
    auto lowerGrid = makeLowerGrid(s, "Abon");
    TDBGridEx &lower = *lowerGrid;
    s.table.open();
    EXPECT_EQ(countText(s), "4");
    EXPECT_EQ(lower.FooterText(0, lower.columns()[0]), "4");
    s.table.append();
    s.table.fieldByName("Tel").setAsString("5");
    s.table.post();
    EXPECT_EQ(countText(s), "5");
    EXPECT_EQ(lower.FooterText(0, lower.columns()[0]), "5");
    s.table.deleteRecord();
    EXPECT_EQ(countText(s), "4");
    EXPECT_EQ(lower.FooterText(0, lower.columns()[0]), "4");
}

TEST(GridSumList, ChainsTheHandlersItReplacesAndRestoresThem)
{
    MainGridSetup s(2);
    int opened = 0;
    s.table.AfterOpen = [&](data::DataSet &) { ++opened; };
    s.table.open();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(countText(s), "2");
    s.grid->sumList().setActive(false);
    s.table.close();
    s.table.open();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(countText(s), "0");
}

TEST(GridSumList, NullFieldsDoNotCountForAFieldCount)
{
    TableFile file({"Tel VARCHAR(5)", "Abon VARCHAR(150)"}, 4, [](int i) {
        return QStringList{i % 2 ? QString::number(i) : QString(), "x"};
    });
    data::Table table;
    table.setTableName("t.db");
    data::DataSource source(&table);
    TDBGridExSumList list([] { return false; });
    list.setActive(true);
    TDBSum *count = list.addItem(goCount, QString());
    list.setDataSet(&table);
    table.open();
    EXPECT_EQ(count->value(), 4 * TDBSum::Scale);
    list.removeItem(count);
    TDBSum *tels = list.addItem(goCount, "Tel");
    EXPECT_EQ(tels->value(), 2 * TDBSum::Scale);
    list.setActive(false);
}

TEST(GridSumList, SumsAndAveragesStayExactAcrossChanges)
{
    TableFile file({"Tel VARCHAR(5)", "Abon VARCHAR(150)"}, 3, [](int i) {
        return QStringList{QString::number(i * 0.1), "x"};
    });
    data::Table table;
    table.setTableName("t.db");
    TDBGridExSumList list([] { return false; });
    list.setActive(true);
    list.setDataSet(&table);
    TDBSum *sum = list.addItem(goSum, "Tel");
    TDBSum *avg = list.addItem(goAvg, "Tel");
    table.open();
    EXPECT_EQ(sum->value(), 6000); // 0.1 + 0.2 + 0.3
    EXPECT_EQ(avg->value(), 2000);
    table.last();
    table.edit();
    table.fieldByName("Tel").setAsString("");
    table.post();
    EXPECT_EQ(sum->value(), 3000);
    EXPECT_EQ(avg->value(), 1500);
    table.first();
    table.deleteRecord();
    EXPECT_EQ(sum->value(), 2000);
    EXPECT_EQ(avg->value(), 2000);
    list.setActive(false);
}

TEST(NumberFormat, SectionsPlaceholdersAndLiterals)
{
    EXPECT_EQ(formatGeneral(0), "0");
    EXPECT_EQ(formatGeneral(1234), "1234");
    EXPECT_EQ(formatFloat("0000", 12), "0012");
    EXPECT_EQ(formatFloat("#", 1234), "1234");
    EXPECT_EQ(formatFloat("Итого: #", 7), "Итого: 7");
    EXPECT_EQ(formatFloat("'#'0", 5), "#5");
    EXPECT_EQ(formatFloat("0;(0);ноль", -3), "(3)");
    EXPECT_EQ(formatFloat("0;(0);ноль", 0), "ноль");
    EXPECT_EQ(formatFloat("0;;", -3), "-3");
    EXPECT_EQ(formatFloat("слова", -3), "-слова");
    EXPECT_EQ(formatFloat("0.00", 2.5).size(), 4);
    EXPECT_EQ(formatFloat("0.##", 2).size(), 1);
}

TEST(GridSumList, GridAttachedToAnOpenDatasetShowsAndCountsAtOnce)
{
    MainGridSetup s(25);
    s.table.open();
    auto lower = makeLowerGrid(s, "Abon");
    EXPECT_EQ(lower->FooterText(0, lower->columns()[0]), "25");
    EXPECT_GT(lower->recordRows(), 0);
    EXPECT_EQ(lower->row(), 1);
}

TEST(GridSumList, DatasetOutlivingGridAndSourceKeepsWorking)
{
    MainGridSetup s(3);
    int opened = 0;
    s.table.AfterOpen = [&](data::DataSet &) { ++opened; };
    {
        data::DataSource source(&s.table); // goes before the grid
        auto owner = makeResultGrid({697, 137}, &source);
        TDBGridEx &g = *owner;
        g.columns().add().footer().setValueType(fvtCount);
        windows::addSearchLook(g);
        s.grid.reset();
        s.table.open();
        EXPECT_EQ(g.FooterText(0, g.columns()[0]), "3");
        EXPECT_EQ(opened, 1);
    }
    s.table.close();
    s.table.open();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(s.table.recordCount(), 3);
}
