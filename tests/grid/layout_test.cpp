#include "gridfixture.h"

#include "platform/colors.h"
#include "platform/drawing.h"
#include "platform/fonts.h"

#include <QCoreApplication>

using namespace grid;

namespace {

int colWidth(const TDBGridEx &g, int dataCol)
{
    return g.cells().colWidth(dataCol + g.indicatorCount());
}

// Counts the deferred relayouts a grid actually receives.
class RelayoutCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == TCustomDBGridEx::DeferredRelayoutEvent;
        return false;
    }
};

} // namespace

TEST(GridAutoFit, MainGridSharesDeclaredWidthInDesignRatio)
{
    MainGridSetup s(2);
    s.table.open();
    EXPECT_FALSE(s.grid->verticalBarShown());
    EXPECT_EQ(s.grid->cells().clientWidth(), 695);
    EXPECT_EQ(colWidth(*s.grid, 0), 69);
    EXPECT_EQ(colWidth(*s.grid, 1), 612);
}

TEST(GridAutoFit, ResizeRefitsAndGivesRoundingRemainderToLastColumn)
{
    MainGridSetup s(2);
    s.grid->show();
    s.table.open();
    s.grid->resize(897, 215);
    EXPECT_EQ(colWidth(*s.grid, 0), 89);
    EXPECT_EQ(colWidth(*s.grid, 1), 792);
    s.grid->resize(772, 215); // 77 + 680 would be one pixel too many
    EXPECT_EQ(colWidth(*s.grid, 0), 77);
    EXPECT_EQ(colWidth(*s.grid, 1), 679);
    // The bases stay the design widths, so shrinking back restores them.
    s.grid->resize(697, 215);
    EXPECT_EQ(colWidth(*s.grid, 0), 69);
    EXPECT_EQ(colWidth(*s.grid, 1), 612);
}

TEST(GridAutoFit, ScrollBarNarrowsTheFittedWidth)
{
    MainGridSetup s(100);
    s.table.open();
    QCoreApplication::processEvents();
    ASSERT_TRUE(s.grid->verticalBarShown());
    EXPECT_EQ(s.grid->cells().clientWidth(), 695 - 17);
    EXPECT_EQ(colWidth(*s.grid, 0) + colWidth(*s.grid, 1), 678 - 11 - 2 - 1);
    EXPECT_EQ(colWidth(*s.grid, 0), 67);
}

TEST(GridAutoFit, PhoneBookColumnsWithRemainderOnLast)
{
    TableFile file({"FIO VARCHAR(30)", "ADR VARCHAR(40)", "TEL VARCHAR(15)", "MAIL VARCHAR(50)"}, 1, [](int) {
        return QStringList{"Иванов", "Садовая", "123", "a@b"};
    });
    data::Table table;
    table.setTableName("t.db");
    data::DataSource source(&table);
    auto owner = makeResultGrid({649, 265});
    TDBGridEx &g = *owner;
    g.beginLoading();
    g.setUseMultiTitle(false);
    g.setOptionsEx({dgxFixed3D, dgxHighlightFocus, dgxClearSelection});
    g.setAutoFitColWidths(true);
    const char *names[] = {"FIO", "ADR", "TEL", "MAIL"};
    const int widths[] = {213, 172, 76, 151};
    for (int i = 0; i < 4; ++i) {
        TDBGridColumnEx &c = g.columns().add();
        c.setFieldName(names[i]);
        c.setWidth(widths[i]);
        c.title().setAlignment(taCenter);
    }
    g.setDataSource(&source);
    g.loaded();
    g.show();
    table.open();
    // Fields declare display widths of 50, 70, 25, 50 characters; the stored
    // design widths win.
    EXPECT_EQ(colWidth(g, 0), 220);
    EXPECT_EQ(colWidth(g, 1), 177);
    EXPECT_EQ(colWidth(g, 2), 78);
    EXPECT_EQ(colWidth(g, 3), 156);
    g.resize(600, 265);
    EXPECT_EQ(colWidth(g, 0), 203);
    EXPECT_EQ(colWidth(g, 3), 143);
    EXPECT_EQ(colWidth(g, 0) + colWidth(g, 1) + colWidth(g, 2) + colWidth(g, 3), 582);
}

TEST(GridAutoFit, ClampedColumnKeepsItsLimitAndOthersTakeTheRest)
{
    MainGridSetup s(2);
    s.grid->columns()[0].setMaxWidth(50);
    s.table.open();
    EXPECT_EQ(colWidth(*s.grid, 0), 50);
    EXPECT_EQ(colWidth(*s.grid, 1), 681 - 50);
}

TEST(GridAutoFit, NoBaseLeftLeavesWidthsAlone)
{
    MainGridSetup s(2);
    s.grid->columns()[0].setAutoFitBaseWidth(0);
    s.grid->columns()[1].setAutoFitBaseWidth(0);
    s.grid->ReflowLayout();
    EXPECT_EQ(colWidth(*s.grid, 0), 69);
    EXPECT_EQ(colWidth(*s.grid, 1), 612);
}

TEST(GridRows, HeightsComeFromTheRealFonts)
{
    MainGridSetup s(5);
    ASSERT_EQ(platform::textHeight(platform::makeFont()), 13);
    EXPECT_EQ(s.grid->dataRowHeight(), 15);
    EXPECT_EQ(s.grid->titleRowHeight(), 22); // one wrapped line + 10 - 1
    s.grid->setUseMultiTitle(false);
    EXPECT_EQ(s.grid->titleRowHeight(), 15);
    s.grid->setFlat(false);
    EXPECT_EQ(s.grid->dataRowHeight(), 17);
    EXPECT_EQ(s.grid->titleRowHeight(), 17);
}

TEST(GridFrame, OnlyAFlatGridHasTheOnePixelFrame)
{
    const std::pair<std::vector<bool>, int> cases[] = {{{}, 2}, {{true}, 1}, {{true, false}, 2}};
    for (const auto &[flatSettings, frame] : cases) {
        TDBGridEx grid;
        for (bool flat : flatSettings)
            grid.setFlat(flat);
        EXPECT_EQ(grid.frameWidth(), frame);
        EXPECT_EQ(grid.cells().clientWidth(), grid.width() - 2 * frame);
    }
}

TEST(GridRows, OnlyWholeRecordRowsAboveFillerAndFooter)
{
    MainGridSetup s(100);
    s.table.open();
    // Client 213 high: title 22 + line, footer 15 + line, one more line: 40;
    // 173 pixels leave ten 16-pixel rows and a 13-pixel filler.
    EXPECT_EQ(s.grid->recordRows(), 10);
    EXPECT_EQ(s.grid->visibleDataRows(), 10);
    EXPECT_EQ(s.grid->dataLink().bufferCount(), 10);
    const GridGeometry &g = s.grid->cells();
    ASSERT_EQ(g.rowCount(), 1 + 10 + 1 + 1);
    EXPECT_EQ(g.rowHeight(11), 13);
    EXPECT_EQ(g.rowTop(12) + g.rowHeight(12) + 1, g.clientHeight());
}

TEST(GridRows, FewRecordsShowOnlyThemWithFillerBelow)
{
    MainGridSetup s(3);
    s.table.open();
    EXPECT_EQ(s.grid->recordRows(), 3);
    const GridGeometry &g = s.grid->cells();
    ASSERT_EQ(g.rowCount(), 1 + 3 + 1 + 1);
    EXPECT_EQ(g.rowTop(5) + g.rowHeight(5) + 1, g.clientHeight());
}

TEST(GridRows, ClosedOrEmptyDatasetShowsOneEmptyRowAndFooterAtBottom)
{
    MainGridSetup s(0);
    const GridGeometry &g = s.grid->cells();
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.rowTop(3) + g.rowHeight(3) + 1, g.clientHeight());
    s.table.open();
    EXPECT_EQ(s.grid->recordRows(), 0);
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.rowHeight(2), 213 - 23 - 16 - 1 - 15 - 1);
}

TEST(GridRows, WithoutFootersRowsEndAfterTheRecords)
{
    MainGridSetup s(100);
    s.grid->setFooterRowCount(0);
    s.table.open();
    EXPECT_EQ(s.grid->recordRows(), (213 - 23) / 16);
    EXPECT_EQ(s.grid->cells().rowCount(), 1 + (213 - 23) / 16);
}

TEST(GridColumns, NaturalWidthFollowsFieldDisplayWidth)
{
    TableFile file({"Obl VARCHAR(15)", "Np VARCHAR(20)", "Kod VARCHAR(20)"}, 1, [](int) {
        return QStringList{"МИНСКАЯ", "Минск", "017"};
    });
    data::Table table;
    table.setTableName("t.db");
    data::DataSource source(&table);
    auto owner = makeResultGrid({385, 225});
    TDBGridEx &g = *owner;
    for (const char *name : {"Obl", "Np", "Kod"})
        g.columns().add().setFieldName(name);
    g.setDataSource(&source);
    EXPECT_EQ(g.columns()[0].NaturalWidth(), 64); // no field while closed
    table.open();
    ASSERT_EQ(platform::textWidth(platform::makeFont(), "0"), 6);
    EXPECT_EQ(g.columns()[0].width(), 94);
    EXPECT_EQ(g.columns()[1].width(), 124);
    EXPECT_EQ(colWidth(g, 2), 124);
    EXPECT_FALSE(g.columns()[1].widthStored());
    // No auto-fit: blank space stays at the right.
    EXPECT_LT(g.cells().gridRight(), g.cells().clientWidth());

    // Setting exactly the natural width keeps it unstored; -1 is ignored.
    g.columns()[1].setWidth(124);
    EXPECT_FALSE(g.columns()[1].widthStored());
    g.columns()[1].setWidth(-1);
    EXPECT_FALSE(g.columns()[1].widthStored());
    g.columns()[1].setWidth(100);
    EXPECT_EQ(colWidth(g, 1), 100);
    table.field(1)->setDisplayWidth(30);
    EXPECT_EQ(g.columns()[1].width(), 100);
    EXPECT_EQ(g.columns()[2].width(), 124);
}

TEST(GridColumns, MissingFieldLeavesColumnUnboundWithNameAsCaption)
{
    MainGridSetup s(1);
    s.grid->columns()[0].setFieldName("Nope");
    s.table.open();
    EXPECT_EQ(s.grid->columns()[0].field(), nullptr);
    EXPECT_EQ(s.grid->columns()[0].title().caption(), "Nope");
    EXPECT_EQ(s.grid->columns()[0].NaturalWidth(), 64);
}

TEST(GridColumns, DerivedTitleValuesFollowUntilAssigned)
{
    MainGridSetup s(1);
    s.table.open();
    TDBGridColumnEx &tel = s.grid->columns()[0];
    EXPECT_EQ(tel.title().caption(), "Tel");
    s.table.field(0)->setDisplayLabel("Телефон");
    EXPECT_EQ(tel.title().caption(), "Телефон");
    EXPECT_EQ(tel.title().alignment(), taCenter);
    s.grid->setUseMultiTitle(false);
    EXPECT_EQ(tel.title().alignment(), taLeftJustify);
    tel.title().setAlignment(taCenter);
    EXPECT_EQ(tel.title().alignment(), taCenter);
    s.grid->setFixedColor(platform::colors::clSilver);
    EXPECT_EQ(tel.title().color(), platform::colors::clSilver);
    tel.title().setCaption("Т");
    s.table.field(0)->setDisplayLabel("Другое");
    EXPECT_EQ(tel.title().caption(), "Т");
}

TEST(GridTitles, LongCaptionWrapsAndRaisesTheWholeTitleRow)
{
    MainGridSetup s(1);
    s.table.open();
    s.grid->setAutoFitColWidths(false);
    s.grid->columns()[0].setWidth(40);
    s.grid->columns()[0].title().setCaption("Населенный пункт");
    EXPECT_EQ(s.grid->titleRowHeight(), 22 + 13);
}

TEST(GridTitles, CaptionIsMeasuredByTheRuleItIsDrawnWith)
{
    // Lines break at spaces only, so a hyphenated word stays on one line.
    MainGridSetup s(1);
    s.table.open();
    s.grid->setAutoFitColWidths(false);
    s.grid->columns()[0].setWidth(50);
    s.grid->columns()[0].title().setCaption("Код-города");
    EXPECT_EQ(s.grid->titleRowHeight(), 22);
}

TEST(GridTitles, SharedFirstPartBecomesOneUpperTitle)
{
    MainGridSetup s(1);
    s.table.open();
    s.grid->columns()[0].title().setCaption("Абонент|Телефон");
    s.grid->columns()[1].title().setCaption("Абонент|Имя");
    const THeadTreeNode &root = s.grid->titleTree().root();
    ASSERT_EQ(root.Children.size(), 1u);
    const THeadTreeNode &upper = *root.Children[0];
    EXPECT_EQ(upper.Text, "Абонент");
    ASSERT_EQ(upper.Children.size(), 2u);
    EXPECT_EQ(upper.Children[0]->Text, "Телефон");
    EXPECT_EQ(upper.Children[1]->Text, "Имя");
    EXPECT_EQ(upper.Width, colWidth(*s.grid, 0) + 1 + colWidth(*s.grid, 1));
    EXPECT_EQ(s.grid->titleRowHeight(), 2 * 23 - 1);
}

TEST(GridTitles, ACaptionThatIsTheSharedPartJoinsTheRun)
{
    MainGridSetup s(1);
    s.table.open();
    s.grid->columns()[0].title().setCaption("Адрес|Улица");
    s.grid->columns()[1].title().setCaption("Адрес");
    const THeadTreeNode &root = s.grid->titleTree().root();
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0]->Text, "Адрес");
    ASSERT_EQ(root.Children[0]->Children.size(), 2u);
    EXPECT_EQ(root.Children[0]->Children[1]->Text, "");
}

TEST(GridTitles, DifferentFirstPartsStaySeparate)
{
    MainGridSetup s(1);
    s.table.open();
    s.grid->columns()[0].title().setCaption("А|Б");
    s.grid->columns()[1].title().setCaption("В|Г");
    const THeadTreeNode &root = s.grid->titleTree().root();
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0]->Text, "А");
    EXPECT_EQ(root.Children[1]->Children[0]->Text, "Г");
}

TEST(GridRelayout, EndOfLoadingPostsOneDeferredPass)
{
    MainGridSetup s(2);
    RelayoutCounter counter;
    s.grid->installEventFilter(&counter);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.count, 1);
}

TEST(GridRelayout, FullPassWithdrawsTheQueuedOne)
{
    MainGridSetup s(2);
    RelayoutCounter counter;
    s.grid->installEventFilter(&counter);
    s.grid->ReflowLayout();
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.count, 0);
}

TEST(GridRelayout, ScrollBarFlipsCoalesceIntoOnePass)
{
    MainGridSetup s(2);
    s.table.open();
    QCoreApplication::processEvents();
    RelayoutCounter counter;
    s.grid->installEventFilter(&counter);
    s.table.append();
    s.table.fieldByName("Tel").setAsString("3");
    s.table.post(); // a third record shows the bar
    EXPECT_TRUE(s.grid->verticalBarShown());
    s.table.deleteRecord(); // and two hide it again
    EXPECT_FALSE(s.grid->verticalBarShown());
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(colWidth(*s.grid, 1), 612);
}

TEST(GridRelayout, LockedChangesRunOnePassAtTheLastUnlock)
{
    MainGridSetup s(2);
    s.grid->show();
    s.table.open();
    s.grid->LockLayout();
    s.grid->LockLayout();
    s.grid->resize(897, 215);
    s.grid->setFooterRowCount(2);
    EXPECT_EQ(colWidth(*s.grid, 0), 69);
    s.grid->UnlockLayout();
    EXPECT_EQ(colWidth(*s.grid, 0), 69);
    s.grid->UnlockLayout();
    EXPECT_EQ(colWidth(*s.grid, 0), 89);
    EXPECT_EQ(s.grid->cells().rowCount(), 1 + 2 + 1 + 2);
}

TEST(GridRelayout, HiddenColumnLosesItsLine)
{
    MainGridSetup s(2);
    s.table.open();
    s.grid->columns()[0].setVisible(false);
    EXPECT_EQ(colWidth(*s.grid, 0), -1);
    EXPECT_EQ(colWidth(*s.grid, 1), 695 - 11 - 1 - 1);
}

TEST(GridColumnDefaults, ColumnsThatSetNoValueOfTheirOwnFollowTheGridWide)
{
    MainGridSetup s(1);
    s.table.open();
    TDBGridColumnEx &tel = s.grid->columns()[0], &abon = s.grid->columns()[1];
    abon.title().setAlignment(taLeftJustify);
    abon.title().setColor(platform::colors::clRed);
    abon.setEndEllipsis(false);
    TColumnDefValuesEx &defaults = *s.grid->columnDefValues();
    defaults.title()->setAlignment(taRightJustify);
    defaults.title()->setColor(platform::colors::clSilver);
    defaults.setEndEllipsis(true);
    EXPECT_EQ(tel.title().alignment(), taRightJustify);
    EXPECT_EQ(tel.title().color(), platform::colors::clSilver);
    EXPECT_TRUE(tel.endEllipsis());
    EXPECT_EQ(abon.title().alignment(), taLeftJustify);
    EXPECT_EQ(abon.title().color(), platform::colors::clRed);
    EXPECT_FALSE(abon.endEllipsis());
    // Until assigned, the title colour default still follows the fixed colour.
    s.grid->setFixedColor(platform::colors::clTeal);
    EXPECT_EQ(s.grid->columns()[0].title().color(), platform::colors::clSilver);
}

TEST(GridColumnDefaults, AChangedDefaultRepaintsTheGrid)
{
    MainGridSetup s(1);
    s.grid->show();
    s.table.open();
    QCoreApplication::processEvents();
    const QImage before = s.grid->grab().toImage();
    s.grid->columnDefValues()->title()->setColor(platform::colors::clRed);
    QCoreApplication::processEvents();
    EXPECT_NE(s.grid->grab().toImage(), before);
}

TEST(GridAutomaticColumns, OnePerFieldUntilColumnsAreDeclared)
{
    TableFile file({"Tel VARCHAR(5)", "Abon VARCHAR(20)"}, 2, numberedRow);
    data::Table table;
    table.setTableName("t.db");
    data::DataSource source(&table);
    auto g = makeResultGrid({697, 215}, &source);
    table.open();
    ASSERT_EQ(g->columns().count(), 2);
    EXPECT_TRUE(g->columns()[0].isAutomatic());
    EXPECT_EQ(g->columns()[1].fieldName(), "Abon");
    EXPECT_EQ(g->columns()[1].title().caption(), "Abon");
    EXPECT_EQ(colWidth(*g, 1), g->columns()[1].NaturalWidth());
    table.close();
    EXPECT_EQ(g->columns().count(), 0);
    table.open();
    ASSERT_EQ(g->columns().count(), 2);
    g->columns().add().setFieldName("Abon");
    ASSERT_EQ(g->columns().count(), 1);
    EXPECT_FALSE(g->columns()[0].isAutomatic());
    table.close();
    table.open();
    EXPECT_EQ(g->columns().count(), 1);
}

TEST(GridEvents, ColWidthsChangedOnlyWhenTheShownWidthsChange)
{
    MainGridSetup s(2);
    s.grid->show();
    s.table.open();
    int calls = 0;
    s.grid->OnColWidthsChanged = [&](TCustomDBGridEx &sender) {
        EXPECT_EQ(&sender, s.grid.get());
        ++calls;
    };
    s.grid->setVTitleMargin(12); // a pass that leaves the widths as they are
    EXPECT_EQ(calls, 0);
    s.grid->resize(897, 215);
    EXPECT_EQ(calls, 1);
    s.grid->setAutoFitColWidths(false);
    calls = 0;
    s.grid->columns()[0].setWidth(90);
    EXPECT_EQ(calls, 1);
}

TEST(GridFonts, ParentFontCopiesTheParentsFontUntilATitleFontIsAssigned)
{
    QWidget window;
    window.setFont(platform::makeFont());
    TDBGridEx g(&window);
    g.setFont(platform::makeFont());
    const QFont large = platform::makeFont({.points = 14});
    window.setFont(large);
    EXPECT_EQ(g.font(), large);
    EXPECT_EQ(g.titleFont(), large);
    EXPECT_EQ(g.footerFont(), large);
    g.setTitleFont(platform::makeFont());
    EXPECT_FALSE(g.parentFont());
    window.setFont(platform::makeFont({.points = 10}));
    EXPECT_EQ(g.font(), large);
}

TEST(GridRows, FixedRowAndTitleHeightsInPixelsAndTextLines)
{
    const QFontMetrics m(platform::makeFont());
    const int line = m.height() + m.leading();
    const struct {
        int rowHeight, rowLines, titleHeight, titleLines, data, title;
    } cases[] = {
        {20, 0, 0, 0, 20, 22},
        {0, 2, 0, 0, 2 * line, 22},
        {4, 1, 0, 0, 4 + line, 22},
        {0, 0, 30, 0, 15, m.leading() + 2 + 30 + 1},
        {0, 0, 0, 2, 15, 2 * m.height() + m.leading() + 2 + 1},
    };
    for (const auto &c : cases) {
        MainGridSetup s(2);
        s.grid->setRowHeight(c.rowHeight);
        s.grid->setRowLines(c.rowLines);
        s.grid->setTitleHeight(c.titleHeight);
        s.grid->setTitleLines(c.titleLines);
        s.table.open();
        EXPECT_EQ(s.grid->dataRowHeight(), c.data) << c.rowHeight << " " << c.rowLines;
        EXPECT_EQ(s.grid->titleRowHeight(), c.title) << c.titleHeight << " " << c.titleLines;
    }
}
