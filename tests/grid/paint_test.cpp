#include "gridfixture.h"

#include "controls/grid/dbnavigator.h"
#include "platform/colors.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <functional>

using namespace grid;
namespace cl = platform::colors;

namespace {

QImage render(QWidget &w)
{
    QImage image = w.grab().toImage();
    if (qEnvironmentVariableIsSet("GRID_SHOTS"))
        image.save(QString("/tmp/grid_%1.png").arg(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    return image;
}

// Shows the grid in an active window with the focus, then opens its table.
void openFocused(MainGridSetup &s)
{
    s.grid->show();
    s.grid->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.grid.get()));
    s.grid->setFocus();
    s.table.open();
}

// Pixel at client coordinates of the grid.
QColor at(const QImage &image, const TDBGridEx &g, int x, int y)
{
    return image.pixelColor(x + g.frameWidth(), y + g.frameWidth());
}

platform::Rect cell(const TDBGridEx &g, int col, int row)
{
    return g.cells().cellRect(col, row);
}

bool isDark(const QColor &c)
{
    return c.lightness() < 100;
}

int countWhere(const QImage &image, const TDBGridEx &g, const platform::Rect &r,
               const std::function<bool(const QColor &)> &match)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += match(at(image, g, x, y));
    return n;
}

int countColour(const QImage &image, const TDBGridEx &g, const platform::Rect &r, const QColor &colour)
{
    return countWhere(image, g, r, [&colour](const QColor &c) { return c == colour; });
}

// Text pixels are antialiased: count those close to the text colour.
int countNear(const QImage &image, const TDBGridEx &g, const platform::Rect &r, const QColor &colour)
{
    return countWhere(image, g, r, [&colour](const QColor &c) {
        return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                   std::abs(c.blue() - colour.blue()) <
               120;
    });
}

} // namespace

TEST(GridPaint, CurrentRowTakesShadowColoursWithoutFocus)
{
    MainGridSetup s(20);
    s.table.open();
    s.table.next();
    QImage image = render(*s.grid);
    platform::Rect current = cell(*s.grid, 2, 2), other = cell(*s.grid, 2, 3);
    EXPECT_EQ(at(image, *s.grid, current.right - 2, current.top + 1), cl::clBtnShadow);
    EXPECT_EQ(at(image, *s.grid, other.right - 2, other.top + 1), cl::clWindow);
    EXPECT_GT(countNear(image, *s.grid, cell(*s.grid, 1, 2), cl::clHighlightText), 0);
}

TEST(GridPaint, CurrentRowTakesHighlightColoursWithFocus)
{
    MainGridSetup s(20);
    ASSERT_NO_FATAL_FAILURE(openFocused(s));
    QImage image = render(*s.grid);
    platform::Rect current = cell(*s.grid, 2, 1);
    EXPECT_EQ(at(image, *s.grid, current.right - 2, current.top + 1), cl::clHighlight);
    EXPECT_GT(countNear(image, *s.grid, current, cl::clHighlightText), 0);
    s.grid->clearFocus();
    image = render(*s.grid);
    EXPECT_EQ(at(image, *s.grid, current.right - 2, current.top + 1), cl::clBtnShadow);
}

TEST(GridPaint, TitleCellsAreRaisedFlatAndLinedInGray)
{
    MainGridSetup s(5);
    s.table.open();
    QImage image = render(*s.grid);
    platform::Rect title = cell(*s.grid, 1, 0);
    EXPECT_EQ(at(image, *s.grid, title.left, title.top + 5), cl::clBtnHighlight);
    EXPECT_EQ(at(image, *s.grid, title.left + 5, title.top), cl::clBtnHighlight);
    EXPECT_EQ(at(image, *s.grid, title.right - 1, title.top + 5), cl::clBtnFace);
    EXPECT_EQ(at(image, *s.grid, title.left + 5, title.bottom - 1), cl::clBtnFace);
    EXPECT_EQ(at(image, *s.grid, title.right, title.top + 5), cl::clGray);
    EXPECT_EQ(at(image, *s.grid, title.left + 5, title.bottom), cl::clGray);
    // Data lines are silver; the control's own frame is a sunken edge.
    platform::Rect data = cell(*s.grid, 1, 3);
    EXPECT_EQ(at(image, *s.grid, data.right, data.top + 3), cl::clSilver);
    EXPECT_EQ(image.pixelColor(0, 5), cl::clBtnShadow);
    EXPECT_EQ(image.pixelColor(s.grid->width() - 1, 5), cl::clBtnHighlight);
}

TEST(GridPaint, FootersAreLinedAndFramedAsFixedWhen3D)
{
    const struct {
        const char *how;
        std::function<void(TDBGridEx &)> set;
        QColor lines;
        bool framed;
    } cases[] = {
        {"as the program has them", [](TDBGridEx &) {}, cl::clSilver, false},
        {"3-D", [](TDBGridEx &g) { g.setOptionsEx(g.optionsEx() | dgxFooter3D); }, cl::clGray, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        MainGridSetup s(3);
        c.set(*s.grid);
        s.table.open();
        QImage image = render(*s.grid);
        platform::Rect footer = cell(*s.grid, 1, s.grid->cells().rowCount() - 1);
        EXPECT_EQ(at(image, *s.grid, footer.right, footer.top + 3), c.lines);
        EXPECT_EQ(at(image, *s.grid, footer.left + 5, footer.top - 1), c.lines);
        EXPECT_EQ(at(image, *s.grid, footer.left + 5, footer.top) == cl::clBtnHighlight, c.framed);
    }
}

TEST(GridPaint, DataCellsFramedWithData3D)
{
    MainGridSetup s(3);
    s.grid->setOptionsEx(s.grid->optionsEx() | dgxData3D);
    s.table.open();
    QImage image = render(*s.grid);
    platform::Rect data = cell(*s.grid, 1, 2);
    EXPECT_EQ(at(image, *s.grid, data.left + 5, data.top), cl::clBtnHighlight);
    EXPECT_EQ(at(image, *s.grid, data.left, data.top + 3), cl::clBtnHighlight);
}

TEST(GridPaint, FocusRectangleAroundTheCurrentCellWithoutRowSelect)
{
    MainGridSetup s(3);
    s.grid->setOptions(s.grid->options() & ~TDBGridOptions(dgRowSelect));
    ASSERT_NO_FATAL_FAILURE(openFocused(s));
    QImage image = render(*s.grid);
    platform::Rect current = cell(*s.grid, 1, 1);
    platform::Rect edge{current.left, current.top, current.right, current.top + 1};
    EXPECT_GT(countWhere(image, *s.grid, edge, [](const QColor &c) { return c != cl::clHighlight; }), 0);
}

TEST(GridColours, ParentColorFollowsTheParentUntilAFooterColourIsSet)
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, cl::clSilver);
    parent.setPalette(palette);
    auto g = makeResultGrid({200, 100});
    g->setParent(&parent);
    g->setParentColor(true);
    EXPECT_EQ(g->color(), cl::clSilver);
    EXPECT_EQ(g->footerColor(), cl::clSilver);
    palette.setColor(QPalette::Window, cl::clBtnFace);
    parent.setPalette(palette);
    EXPECT_EQ(g->color(), cl::clBtnFace);
    g->setFooterColor(cl::clMenu);
    EXPECT_FALSE(g->parentColor());
    palette.setColor(QPalette::Window, cl::clSilver);
    parent.setPalette(palette);
    EXPECT_EQ(g->color(), cl::clBtnFace);
    g->setParent(nullptr);
}

TEST(GridPaint, ArrowBesideTheActiveRecordOnly)
{
    MainGridSetup s(5);
    s.table.open();
    s.table.next();
    QImage image = render(*s.grid);
    platform::Rect ind = cell(*s.grid, 0, 2);
    // Drawn at content right - 6 - 1, vertically centred in the content.
    int x = ind.right - 1 - 6 - 1, y = (ind.top + 1 + ind.bottom - 1 - 11) / 2;
    EXPECT_TRUE(isDark(at(image, *s.grid, x, y))); // tip of the top row
    EXPECT_FALSE(isDark(at(image, *s.grid, x + 1, y)));
    EXPECT_TRUE(isDark(at(image, *s.grid, x + 5, y + 5))); // six wide in the middle
    EXPECT_FALSE(isDark(at(image, *s.grid, x + 5, y + 4)));
    EXPECT_TRUE(isDark(at(image, *s.grid, x, y + 10)));
    EXPECT_EQ(countColour(image, *s.grid, ind, cl::clBlack), 36);
    EXPECT_EQ(countColour(image, *s.grid, cell(*s.grid, 0, 1), cl::clBlack), 0);
}

TEST(GridPaint, StarWhileInsertingArrowBackAfterCancel)
{
    MainGridSetup s(3);
    s.table.open();
    s.table.append();
    QImage image = render(*s.grid);
    platform::Rect ind = cell(*s.grid, 0, s.grid->row());
    int x = ind.right - 1 - 6 - 1, y = (ind.top + 1 + ind.bottom - 1 - 11) / 2;
    EXPECT_TRUE(isDark(at(image, *s.grid, x + 3, y + 5)));
    EXPECT_TRUE(isDark(at(image, *s.grid, x + 1, y + 3)));
    EXPECT_FALSE(isDark(at(image, *s.grid, x, y + 5)));
    EXPECT_EQ(countColour(image, *s.grid, ind, cl::clBlack), 13);
    s.table.cancel();
    image = render(*s.grid);
    EXPECT_EQ(countColour(image, *s.grid, cell(*s.grid, 0, s.grid->row()), cl::clBlack), 36);
}

TEST(GridPaint, ClosedQueryShowsNoGlyphAndNoFooterText)
{
    MainGridSetup s(5);
    QImage image = render(*s.grid);
    int footer = s.grid->cells().rowCount() - 1;
    EXPECT_EQ(countColour(image, *s.grid, cell(*s.grid, 0, 1), cl::clBlack), 0);
    EXPECT_EQ(countNear(image, *s.grid, cell(*s.grid, 1, footer), cl::clRed), 0);
    EXPECT_EQ(at(image, *s.grid, cell(*s.grid, 2, footer).left + 3, cell(*s.grid, 2, footer).top + 3), cl::clWindow);

    s.table.open();
    image = render(*s.grid);
    footer = s.grid->cells().rowCount() - 1;
    EXPECT_GT(countNear(image, *s.grid, cell(*s.grid, 1, footer), cl::clRed), 0);
    EXPECT_GT(countNear(image, *s.grid, cell(*s.grid, 2, footer), cl::clRed), 0);
    EXPECT_EQ(at(image, *s.grid, cell(*s.grid, 2, footer).right - 2, cell(*s.grid, 2, footer).top + 1), cl::clMenu);
}

TEST(GridPaint, EmptyResultKeepsArrowAndBlankRowAboveFooter)
{
    MainGridSetup s(0);
    s.table.open();
    QImage image = render(*s.grid);
    EXPECT_EQ(countColour(image, *s.grid, cell(*s.grid, 0, 1), cl::clBlack), 36);
    platform::Rect empty = cell(*s.grid, 2, 1);
    EXPECT_EQ(countColour(image, *s.grid, empty, cl::clWindow), empty.width() * empty.height());
    // Without footers the empty row is the current row.
    s.grid->setFooterRowCount(0);
    image = render(*s.grid);
    EXPECT_EQ(at(image, *s.grid, empty.left + 3, empty.top + 3), cl::clBtnShadow);
}

TEST(GridPaint, TextMarginsLeftAndRight)
{
    MainGridSetup s(5);
    s.table.open();
    s.grid->columns()[0].setAlignment(taRightJustify);
    QImage image = render(*s.grid);
    auto darkColumns = [&](const platform::Rect &r) {
        int first = -1, last = -1;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (isDark(at(image, *s.grid, x, y))) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return std::pair{first, last};
    };
    platform::Rect tel = cell(*s.grid, 1, 3);
    auto [telFirst, telLast] = darkColumns(tel);
    EXPECT_LE(telLast, tel.right - 4);
    EXPECT_GE(telLast, tel.right - 6);
    platform::Rect abon = cell(*s.grid, 2, 3);
    auto [abonFirst, abonLast] = darkColumns(abon);
    EXPECT_GE(abonFirst, abon.left + 2);
    EXPECT_LE(abonFirst, abon.left + 3);
    (void)telFirst;
    (void)abonLast;
}

// What is on screen after moves painted incrementally (moved pixels plus
// invalidated rows) must equal a full repaint.
TEST(GridPaint, IncrementalRepaintAfterMovesMatchesAFullPaint)
{
    MainGridSetup s(100);
    s.grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s.grid.get()));
    s.table.open();
    QApplication::processEvents();
    auto onScreen = [&] {
        QApplication::processEvents();
        return QGuiApplication::primaryScreen()
            ->grabWindow(s.grid->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    auto full = [&] { return s.grid->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(s.grid.get(), Qt::Key_Down);
        QApplication::processEvents();
    }
    EXPECT_EQ(onScreen(), full());
    QTest::keyClick(s.grid.get(), Qt::Key_PageDown);

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(s.grid.get(), Qt::Key_Up);
    EXPECT_EQ(onScreen(), full());
    s.table.last();
    EXPECT_EQ(onScreen(), full());
}

TEST(NavigatorPaint, EnabledArrowsBlackDisabledGray)
{
    MainGridSetup s(3);
    TDBNavigator nav;
    nav.setDataSource(&s.source);
    s.table.open();
    QImage image = render(nav);
    auto count = [&image](int button, const QColor &colour) {
        int n = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = button * 56; x < button * 56 + 56; ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    };
    EXPECT_EQ(count(0, cl::clBlack), 0); // at the first record
    EXPECT_GT(count(0, cl::clGrayText), 0);
    EXPECT_GT(count(2, cl::clBlack), 0);
    EXPECT_GT(count(3, cl::clBlack), count(2, cl::clBlack)); // the bar of "last"
}

// Unscaled an arrow is columns of 1, 3, 5 and 7 pixels; at factor 2 its
// slope is drawn for the finer pixels, one row more a side each column, not
// as 2x2 blocks (columns of 2, 2, 6, 6 ...).
TEST(NavigatorPaint, ArrowsAreDrawnForTheDevicePixelRatio)
{
    const struct {
        int ratio;
        QList<int> columns; // the arrow's column heights, shortest first
    } cases[] = {{1, {1, 3, 5, 7}}, {2, {2, 4, 6, 8, 10, 12, 14}}};
    for (const auto &c : cases)
        for (const NavigatorButton::Kind kind : {NavigatorButton::Prior, NavigatorButton::Next}) {
            NavigatorButton button(kind, nullptr);
            button.resize(button.sizeHint());
            QImage image(button.size() * c.ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(c.ratio);
            button.render(&image);
            QList<int> heights;
            for (int x = 0; x < image.width(); ++x) {
                int black = 0;
                for (int y = 0; y < image.height(); ++y)
                    black += image.pixelColor(x, y) == cl::clBlack;
                if (black > 0)
                    heights.append(black);
            }
            std::sort(heights.begin(), heights.end());
            EXPECT_EQ(heights, c.columns) << "ratio " << c.ratio << ", kind " << kind;
        }
}

TEST(GridPaint, WithoutDefaultDrawingDataCellsAreOnlyFilledForTheOwnerToDraw)
{
    MainGridSetup s(5);
    s.table.open();
    s.table.next(); // the first row is not the current one
    int drawn = 0;
    s.grid->OnDrawColumnCell = [&](TCustomDBGridEx &, QPainter &, const platform::Rect &, int, TDBGridColumnEx &,
                                   TGridDrawState) { ++drawn; };
    const platform::Rect abon = cell(*s.grid, 2, 1);
    EXPECT_GT(countWhere(render(*s.grid), *s.grid, abon, isDark), 0);
    s.grid->setDefaultDrawing(false);
    drawn = 0;
    EXPECT_EQ(countWhere(render(*s.grid), *s.grid, abon, isDark), 0);
    EXPECT_GT(drawn, 0);
}
