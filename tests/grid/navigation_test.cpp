#include "gridfixture.h"

#include "controls/grid/dbnavigator.h"
#include "platform/messagebox.h"

#include <QLineEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <sqlite3.h>

using namespace grid;

namespace {

void press(QWidget &w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(&w, key, mods);
}

void wheel(QWidget &w, int delta)
{
    QPoint pos(50, 50);
    QWheelEvent event(pos, w.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &event);
}

// Centre of a cell in widget coordinates.
QPoint cellCentre(const TDBGridEx &g, int col, int row)
{
    platform::Rect r = g.cells().cellRect(col, row);
    return QPoint((r.left + r.right) / 2 + g.frameWidth(), (r.top + r.bottom) / 2 + g.frameWidth());
}

// The main window's views of one result: both grids and the navigator.
struct MainWindowViews {
    explicit MainWindowViews(int rows) : s(rows), lower(makeLowerGrid(s, "Abon"))
    {
        nav.setDataSource(&s.source);
        s.table.open();
    }
    MainGridSetup s;
    std::unique_ptr<TDBGridEx> lower;
    TDBNavigator nav;
};

} // namespace

TEST(GridKeys, MoveTheDatasetCursor)
{
    MainGridSetup s(100);
    s.table.open();
    TDBGridEx &g = *s.grid;
    press(g, Qt::Key_Down);
    EXPECT_EQ(s.table.recNo(), 2);
    EXPECT_EQ(g.row(), 1 + 1);
    press(g, Qt::Key_Up);
    EXPECT_EQ(s.table.recNo(), 1);
    press(g, Qt::Key_PageDown); // a page is the ten record rows above the footer
    EXPECT_EQ(s.table.recNo(), 11);
    press(g, Qt::Key_PageUp);
    EXPECT_EQ(s.table.recNo(), 1);
    press(g, Qt::Key_End);
    EXPECT_EQ(s.table.recNo(), 100);
    EXPECT_EQ(g.row(), 1 + 9);
    press(g, Qt::Key_Down); // nothing below the last record
    EXPECT_EQ(s.table.recNo(), 100);
    EXPECT_EQ(s.table.recordCount(), 100);
    press(g, Qt::Key_Up, Qt::ControlModifier); // to the top visible row
    EXPECT_EQ(s.table.recNo(), 91);
    press(g, Qt::Key_PageDown, Qt::ControlModifier); // to the bottom one
    EXPECT_EQ(s.table.recNo(), 100);
    press(g, Qt::Key_Home);
    EXPECT_EQ(s.table.recNo(), 1);
    press(g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(s.table.recNo(), 100);
}

TEST(GridKeys, EditingKeysChangeNothingInAReadOnlyGrid)
{
    MainGridSetup s(3);
    s.table.open();
    int boxes = 0;
    platform::setMessageAnswerer([&](const platform::ShownMessage &) {
        ++boxes;
        return int(platform::idOk);
    });
    for (auto [key, mods] : {std::pair{Qt::Key_Insert, Qt::NoModifier},
                             {Qt::Key_Delete, Qt::ControlModifier},
                             {Qt::Key_Delete, Qt::NoModifier},
                             {Qt::Key_F2, Qt::NoModifier},
                             {Qt::Key_Return, Qt::NoModifier}}) {
        press(*s.grid, key, mods);
        EXPECT_EQ(s.table.state(), data::DataSetState::Browse);
    }
    platform::setMessageAnswerer({});
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(s.table.recordCount(), 3);
}

TEST(GridKeys, ClosedDatasetIgnoresKeysAndWheel)
{
    MainGridSetup s(3);
    press(*s.grid, Qt::Key_Down);
    wheel(*s.grid, -120);
    EXPECT_FALSE(s.table.active());
    EXPECT_FALSE(s.grid->verticalBarShown());
}

// The grid and a line edit after it in an active window, the grid focused.
struct GridBeforeAnEdit {
    explicit GridBeforeAnEdit(MainGridSetup &setup) : s(setup)
    {
        auto *layout = new QVBoxLayout(&window);
        s.grid->setParent(&window);
        layout->addWidget(s.grid.get());
        edit = new QLineEdit(&window);
        layout->addWidget(edit);
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        s.table.open();
        s.grid->setFocus();
    }
    ~GridBeforeAnEdit() { s.grid->setParent(nullptr); }

    MainGridSetup &s;
    QWidget window;
    QLineEdit *edit = nullptr;
    bool active = false;
};

TEST(GridKeys, TabMovesBetweenColumnsWithoutRowSelectThenLeaves)
{
    MainGridSetup s(3);
    s.grid->setOptions(s.grid->options() & ~TDBGridOptions{dgRowSelect});
    s.grid->setReadOnly(false);
    GridBeforeAnEdit w(s);
    ASSERT_TRUE(w.active);
    ASSERT_EQ(s.grid->col(), 1);
    QTest::keyClick(s.grid.get(), Qt::Key_Tab);
    EXPECT_EQ(s.grid->col(), 2);
    EXPECT_TRUE(s.grid->hasFocus());
    QTest::keyClick(s.grid.get(), Qt::Key_Tab);
    EXPECT_TRUE(w.edit->hasFocus());
}

TEST(GridKeys, TabLeavesARowSelectGrid)
{
    MainGridSetup s(3);
    GridBeforeAnEdit w(s);
    ASSERT_TRUE(w.active);
    int col = s.grid->col();
    QTest::keyClick(s.grid.get(), Qt::Key_Tab);
    EXPECT_TRUE(w.edit->hasFocus());
    EXPECT_EQ(s.grid->col(), col);
}

TEST(GridWheel, OneStepMovesOneRecord)
{
    MainGridSetup s(50);
    s.table.open();
    wheel(*s.grid, -120);
    EXPECT_EQ(s.table.recNo(), 2);
    wheel(*s.grid, -60); // half a step waits for the other half
    EXPECT_EQ(s.table.recNo(), 2);
    wheel(*s.grid, -60);
    EXPECT_EQ(s.table.recNo(), 3);
    wheel(*s.grid, 240);
    EXPECT_EQ(s.table.recNo(), 1);
}

TEST(GridMouse, ClickOnIndicatorOfThirdRecordMovesThere)
{
    MainGridSetup s(50);
    s.table.open();
    QTest::mouseClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 0, 3));
    EXPECT_EQ(s.table.recNo(), 3);
    QTest::mouseClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 1, 0));
    EXPECT_EQ(s.table.recNo(), 3); // titles do not move the record
    int footer = s.grid->cells().rowCount() - 1;
    QTest::mouseClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 1, footer));
    EXPECT_EQ(s.table.recNo(), 3);
}

TEST(GridEvents, MouseAndColumnEventsReachTheHandlersWithTheGridFirst)
{
    MainGridSetup s(5);
    s.grid->setOptions(s.grid->options() & ~TDBGridOptions(dgRowSelect));
    s.table.open();
    QStringList log;
    auto named = [&](const char *name) { return [&log, name](TCustomDBGridEx &) { log << name; }; };
    auto onColumn = [&](const char *name) {
        return [&log, name](TCustomDBGridEx &, TDBGridColumnEx &c) { log << QString(name) + " " + c.fieldName(); };
    };
    s.grid->OnColEnter = named("enter");
    s.grid->OnColExit = named("exit");
    s.grid->OnDblClick = named("double");
    s.grid->OnCellClick = onColumn("cell");
    s.grid->OnTitleClick = onColumn("title");
    s.grid->OnMouseDown = [&](TCustomDBGridEx &, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { log << "down"; };
    QTest::mouseClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 2, 2));
    EXPECT_EQ(log, QStringList({"exit", "enter", "down", "cell Abon"}));
    log.clear();
    QTest::mouseClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 1, 0));
    EXPECT_EQ(log, QStringList({"down", "title Tel"}));
    log.clear();
    QTest::mouseDClick(s.grid.get(), Qt::LeftButton, Qt::NoModifier, cellCentre(*s.grid, 1, 3));
    EXPECT_TRUE(log.contains("double"));
    // A handler that clears itself and moves the column while it runs.
    ASSERT_EQ(s.grid->col(), 1);
    log.clear();
    s.grid->OnColExit = [](TCustomDBGridEx &g) {
        g.OnColExit = nullptr;
        g.SelectColumnByIndex(1);
    };
    press(*s.grid, Qt::Key_Right);
    EXPECT_EQ(log, QStringList({"enter"}));
    EXPECT_EQ(s.grid->col(), 2);
}

TEST(GridEvents, KeyHandlerSeesTheKeyFirstAndCanSwallowIt)
{
    MainGridSetup s(5);
    s.table.open();
    QList<int> seen;
    s.grid->OnKeyDown = [&](TCustomDBGridEx &, int &key, Qt::KeyboardModifiers) {
        seen << key;
        if (key == Qt::Key_Down)
            key = 0;
    };
    press(*s.grid, Qt::Key_Down);
    press(*s.grid, Qt::Key_End);
    EXPECT_EQ(seen, QList<int>({Qt::Key_Down, Qt::Key_End}));
    EXPECT_EQ(s.table.recNo(), 5);
}

TEST(GridEvents, SummaryRecountsAreForwardedByTheGrid)
{
    MainGridSetup s(3);
    QStringList log;
    s.grid->OnSumListRecalcAll = [&](TCustomDBGridEx &) { log << "recount"; };
    s.grid->OnSumListAfterRecalcAll = [&](TCustomDBGridEx &) { log << "after"; };
    s.table.close();
    s.table.open();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.mid(log.size() - 2), QStringList({"recount", "after"}));
}

TEST(GridKeys, AnEditableGridInsertsDeletesWithConfirmationAndAppendsAtTheEnd)
{
    MainGridSetup s(3);
    s.grid->setOptions((s.grid->options() & ~TDBGridOptions(dgRowSelect)) | dgEditing);
    s.grid->setReadOnly(false);
    s.table.open();
    press(*s.grid, Qt::Key_Insert);
    EXPECT_EQ(s.table.state(), data::DataSetState::Insert);
    press(*s.grid, Qt::Key_Escape);

    QStringList asked;
    int answer = platform::idCancel;
    platform::setMessageAnswerer([&](const platform::ShownMessage &m) {
        asked << m.text;
        return answer;
    });
    const auto restore = qScopeGuard([] { platform::setMessageAnswerer({}); });
    press(*s.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(asked, QStringList({"Delete record?"}));
    EXPECT_EQ(s.table.recordCount(), 3);
    answer = platform::idOk;
    press(*s.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(s.table.recordCount(), 2);

    press(*s.grid, Qt::Key_End, Qt::ControlModifier);
    press(*s.grid, Qt::Key_Down);
    EXPECT_EQ(s.table.state(), data::DataSetState::Insert);
    EXPECT_TRUE(s.table.eof());
}

// A move away from a changed record posts it; with the table locked by
// another program the post fails inside the grid's own input handling.
TEST(GridErrors, AMoveThatFailsIsReportedAndTheGridGoesOn)
{
    const std::pair<const char *, std::function<void(TDBGridEx &)>> moves[] = {
        {"key", [](TDBGridEx &g) { press(g, Qt::Key_Down); }},
        {"wheel", [](TDBGridEx &g) { wheel(g, -120); }},
    };
    std::vector<platform::ShownMessage> shown;
    platform::setMessageAnswerer([&](const platform::ShownMessage &m) {
        shown.push_back(m);
        return int(platform::idOk);
    });
    const auto restore = qScopeGuard([] { platform::setMessageAnswerer({}); });
    for (const auto &[name, move] : moves) {
        SCOPED_TRACE(name);
        shown.clear();
        MainGridSetup s(5);
        s.table.open();
        s.table.edit();
        s.table.fieldByName(QStringLiteral("Abon")).setAsString(QStringLiteral("Изменён"));
        sqlite3 *other = nullptr;
        sqlite3_open("t.db", &other);
        sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);

        move(*s.grid);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, platform::mbErrorOk);
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("занят"))) << shown[0].text.toStdString();
        EXPECT_EQ(s.table.recNo(), 1);

        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        move(*s.grid);
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_EQ(s.table.recNo(), 2);
        EXPECT_EQ(s.table.state(), data::DataSetState::Browse);
    }
}

TEST(GridScrollBar, ValuesCountThePageInsideTheRange)
{
    MainGridSetup s(100);
    s.table.open();
    ScrollInfo info = s.grid->verticalScrollInfo();
    EXPECT_EQ(info.min, 1);
    EXPECT_EQ(info.page, 10);
    EXPECT_EQ(info.max, 100 + 10 - 1);
    EXPECT_EQ(info.pos, 1);
    s.table.setRecNo(40);
    EXPECT_EQ(s.grid->verticalScrollInfo().pos, 40);
    EXPECT_EQ(s.grid->verticalBar()->maximum(), 100);
}

TEST(GridScrollBar, ShownFromThreeRecords)
{
    MainGridSetup three(3);
    three.table.open();
    EXPECT_TRUE(three.grid->verticalBarShown());
    MainGridSetup two(2);
    two.table.open();
    EXPECT_FALSE(two.grid->verticalBarShown());
}

TEST(GridScrollBar, CommandsMoveTheRecord)
{
    MainGridSetup s(100);
    s.table.open();
    QScrollBar *bar = s.grid->verticalBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // just below the bottom row
    EXPECT_EQ(s.table.recNo(), 11);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(s.table.recNo(), 21);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(s.table.recNo(), 100);
    EXPECT_EQ(bar->value(), 100);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub); // just above the top row
    EXPECT_EQ(s.table.recNo(), 90);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(s.table.recNo(), 1);
}

TEST(GridScrollBar, ReleasingTheThumbInTheMiddleGoesToThatRecord)
{
    MainWindowViews views(100);
    MainGridSetup &s = views.s;
    TDBGridEx &lower = *views.lower;
    TDBNavigator &nav = views.nav;
    QScrollBar *bar = s.grid->verticalBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(50);
    bar->setSliderDown(false);
    EXPECT_EQ(s.table.recNo(), 50);
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(lower.verticalScrollInfo().pos, 50);
    EXPECT_EQ(lower.row(), 1 + lower.dataLink().activeRecord());
    EXPECT_TRUE(nav.button(NavigatorButton::First)->isEnabled());
    EXPECT_TRUE(nav.button(NavigatorButton::Last)->isEnabled());
}

TEST(GridScrollBar, WithTrackingTheRecordFollowsTheThumbWhileItIsDragged)
{
    MainGridSetup s(100);
    s.table.open();
    s.grid->setVertScrollBar({.Visible = true, .VisibleMode = sbAutoShowEx, .Tracking = true});
    QScrollBar *bar = s.grid->verticalBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(50);
    EXPECT_EQ(s.table.recNo(), 50);
    bar->setSliderPosition(60);
    EXPECT_EQ(s.table.recNo(), 60);
    bar->setSliderDown(false);
    EXPECT_EQ(s.table.recNo(), 60);
    EXPECT_EQ(bar->value(), 60);
}

TEST(GridSelection, SelectColumnByIndexKeepsTheColumnOfARowSelectGrid)
{
    MainGridSetup s(5);
    s.table.open();
    int col = s.grid->col();
    s.grid->SelectColumnByIndex(1);
    EXPECT_EQ(s.grid->col(), col);
    s.grid->setOptions(s.grid->options() & ~TDBGridOptions(dgRowSelect));
    s.grid->SelectColumnByIndex(1);
    EXPECT_EQ(s.grid->col(), 2);
    s.grid->SelectColumnByIndex(99);
    EXPECT_EQ(s.grid->col(), 2);
    s.grid->SelectColumnByIndex(-5);
    EXPECT_EQ(s.grid->col(), 1);
}

TEST(GridSelection, HidingTheCurrentColumnMakesTheFirstVisibleOneCurrent)
{
    for (bool autoFit : {true, false}) {
        SCOPED_TRACE(autoFit ? "auto-fit" : "natural widths");
        MainGridSetup s(5);
        s.grid->setAutoFitColWidths(autoFit);
        s.grid->setOptions(s.grid->options() & ~TDBGridOptions(dgRowSelect));
        s.table.open();
        s.grid->SelectColumnByIndex(0);
        s.grid->columns()[0].setVisible(false);
        EXPECT_EQ(s.grid->col(), 2);
        EXPECT_EQ(s.grid->cells().colWidth(1), -1);
    }
}

TEST(GridKeys, DownCancelsAnUntouchedInsertExceptAtTheEnd)
{
    for (bool atEnd : {true, false}) {
        SCOPED_TRACE(atEnd ? "appended" : "inserted before the first");
        MainGridSetup s(3);
        s.table.open();
        atEnd ? s.table.append() : s.table.insert();
        press(*s.grid, Qt::Key_Down);
        EXPECT_EQ(s.table.state(), atEnd ? data::DataSetState::Insert : data::DataSetState::Browse);
    }
}

TEST(GridFollowing, TwoGridsAndANavigatorStayInStep)
{
    MainWindowViews views(30);
    MainGridSetup &s = views.s;
    TDBGridEx &lower = *views.lower;
    TDBNavigator &nav = views.nav;

    press(*s.grid, Qt::Key_PageDown);
    EXPECT_EQ(s.table.recNo(), 11);
    EXPECT_EQ(lower.row(), 1 + lower.dataLink().activeRecord());
    press(lower, Qt::Key_Down);
    EXPECT_EQ(s.table.recNo(), 12);
    EXPECT_EQ(s.grid->row(), 1 + s.grid->dataLink().activeRecord());
    nav.button(NavigatorButton::Last)->click();
    EXPECT_EQ(s.table.recNo(), 30);
    EXPECT_EQ(s.grid->row(), 1 + 9);
    EXPECT_EQ(lower.row(), 1 + lower.dataLink().activeRecord());
    nav.button(NavigatorButton::Prior)->click();
    EXPECT_EQ(s.table.recNo(), 29);
    nav.button(NavigatorButton::First)->click();
    EXPECT_EQ(s.grid->row(), 1);
    nav.button(NavigatorButton::Next)->click();
    EXPECT_EQ(s.table.recNo(), 2);
}

TEST(Navigator, EnabledStatesFollowTheCursor)
{
    MainGridSetup s(3);
    TDBNavigator nav;
    nav.setDataSource(&s.source);
    auto enabled = [&nav] {
        QString states;
        for (auto kind : {NavigatorButton::First, NavigatorButton::Prior, NavigatorButton::Next, NavigatorButton::Last})
            states += nav.button(kind)->isEnabled() ? '1' : '0';
        return states;
    };
    EXPECT_EQ(enabled(), "0000"); // closed
    s.table.open();
    EXPECT_EQ(enabled(), "0011");
    s.table.next();
    EXPECT_EQ(enabled(), "1111");
    s.table.last();
    EXPECT_EQ(enabled(), "1100");
    s.table.close();
    EXPECT_EQ(enabled(), "0000");
    MainGridSetup empty(0);
    nav.setDataSource(&empty.source);
    empty.table.open();
    EXPECT_EQ(enabled(), "0000");
}

TEST(Navigator, SizeCursorAndHints)
{
    TDBNavigator nav;
    EXPECT_EQ(nav.size(), QSize(224, 18));
    EXPECT_EQ(nav.button(NavigatorButton::First)->toolTip(), "Первая запись");
    EXPECT_EQ(nav.button(NavigatorButton::Prior)->toolTip(), "Предыдущая запись");
    EXPECT_EQ(nav.button(NavigatorButton::Next)->toolTip(), "Следующая запись");
    EXPECT_EQ(nav.button(NavigatorButton::Last)->toolTip(), "Последняя запись");
    EXPECT_EQ(nav.button(NavigatorButton::Next)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(nav.button(NavigatorButton::Last)->geometry(), QRect(168, 0, 56, 18));
}

namespace {

// The upper result grid with its columns at their own widths, Abon `abonWidth` wide.
void unfit(MainGridSetup &s, int abonWidth)
{
    s.grid->setAutoFitColWidths(false);
    s.grid->columns()[1].setWidth(abonWidth);
}

} // namespace

TEST(GridHorzScrollBar, ShownOnlyForColumnsWiderThanTheGridWithoutAutoFit)
{
    const struct {
        bool autoFit;
        TDBGridExScrollBar bar;
        int abonWidth;
        bool shown;
    } cases[] = {
        {false, {}, 604, false},
        {false, {}, 800, true},
        {false, {.Visible = false}, 800, false},
        {false, {.VisibleMode = sbNeverShowEx}, 800, false},
        {false, {.VisibleMode = sbAlwaysShowEx}, 604, true},
        {true, {.VisibleMode = sbAlwaysShowEx}, 800, false},
    };
    for (const auto &c : cases) {
        MainGridSetup s(2);
        s.table.open();
        if (!c.autoFit)
            unfit(s, c.abonWidth);
        s.grid->setHorzScrollBar(c.bar);
        EXPECT_EQ(s.grid->horizontalBarShown(), c.shown) << c.abonWidth << " " << c.bar.VisibleMode;
        EXPECT_EQ(s.grid->cells().clientHeight(), 213 - (c.shown ? CustomGrid::ScrollBarWidth : 0));
    }
}

TEST(GridHorzScrollBar, TheBarAndColumnMovesScrollTheColumns)
{
    MainGridSetup s(2);
    s.grid->setOptions(s.grid->options() & ~TDBGridOptions{dgRowSelect});
    s.table.open();
    unfit(s, 800);
    ASSERT_TRUE(s.grid->horizontalBarShown());
    EXPECT_EQ(s.grid->cells().leftCol(), 1);
    press(*s.grid, Qt::Key_Right); // Abon is current and scrolled into view
    EXPECT_EQ(s.grid->col(), 2);
    EXPECT_EQ(s.grid->cells().leftCol(), 2);
    EXPECT_EQ(s.grid->horizontalBar()->value(), 2);
    press(*s.grid, Qt::Key_Left);
    EXPECT_EQ(s.grid->cells().leftCol(), 1);
    s.grid->horizontalBar()->setValue(2);
    EXPECT_EQ(s.grid->cells().colLeft(1), -1);
    EXPECT_EQ(s.grid->col(), 1); // scrolling keeps the current column
    // Narrower columns fit again: back to the first, and the bar goes.
    s.grid->columns()[1].setWidth(300);
    EXPECT_FALSE(s.grid->horizontalBarShown());
    EXPECT_EQ(s.grid->cells().leftCol(), 1);
}

TEST(GridMouse, DraggingATitleEdgeSizesTheColumnWithColumnResize)
{
    MainGridSetup s(2);
    s.table.open();
    s.grid->setAutoFitColWidths(false);
    int changes = 0;
    s.grid->OnColWidthsChanged = [&](TCustomDBGridEx &) { ++changes; };
    const platform::Rect tel = s.grid->cells().cellRect(1, 0);
    const QPoint edge(tel.right + s.grid->frameWidth(), tel.top + 5 + s.grid->frameWidth());
    for (bool resize : {false, true}) {
        s.grid->setOptions(resize ? s.grid->options() | dgColumnResize
                                  : s.grid->options() & ~TDBGridOptions{dgColumnResize});
        QTest::mousePress(s.grid.get(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(s.grid.get(), edge + QPoint(30, 0));
        QTest::mouseRelease(s.grid.get(), Qt::LeftButton, {}, edge + QPoint(30, 0));
        EXPECT_EQ(s.grid->columns()[0].width(), resize ? 68 + 30 : 68);
    }
    EXPECT_GT(changes, 0);
}
