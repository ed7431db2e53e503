#include "platform/colors.h"
#include "platform/drawing.h"
#include "platform/fonts.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A 20 x 20 canvas painted white, with the default font.
class Canvas : public ::testing::Test {
protected:
    Canvas() : image(20, 20, QImage::Format_RGB32) { image.fill(Qt::white); }
    QColor at(int x, int y) const { return image.pixelColor(x, y); }
    struct Pixel {
        int x, y;
        QColor color;
    };
    void expectPixels(std::initializer_list<Pixel> pixels) const
    {
        for (const Pixel &p : pixels)
            EXPECT_EQ(at(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
    }
    Rect edge(const Rect &r, EdgeStyle edgeStyle, EdgeSides sides = BF_RECT)
    {
        QPainter p(&image);
        return drawEdge(p, r, edgeStyle, sides);
    }
    // Number of pixels in the canvas that are not white.
    int inked() const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += at(x, y) != QColor(Qt::white);
        return n;
    }
    QImage image;
};

} // namespace

TEST_F(Canvas, FrameAndFillStayInsideTheExclusiveRectangle)
{
    {
        QPainter p(&image);
        fillRect(p, {2, 2, 8, 6}, Qt::black);
        frameRect(p, {10, 10, 15, 14}, Qt::red);
    }
    EXPECT_EQ(at(2, 2), Qt::black);
    EXPECT_EQ(at(7, 5), Qt::black);
    EXPECT_EQ(at(8, 5), Qt::white);
    EXPECT_EQ(at(7, 6), Qt::white);
    EXPECT_EQ(at(10, 10), Qt::red);
    EXPECT_EQ(at(14, 13), Qt::red);
    EXPECT_EQ(at(15, 13), Qt::white);
    EXPECT_EQ(at(12, 12), Qt::white); // the inside stays
    EXPECT_EQ(inked(), 4 * 6 + 2 * 5 + 2 * 2);
}

TEST_F(Canvas, LinesLeaveOutTheirEndPoint)
{
    {
        QPainter p(&image);
        drawLine(p, {0, 0}, {5, 0}, Qt::black);
        drawLine(p, {0, 10}, {4, 14}, Qt::black);
        drawLine(p, {7, 7}, {7, 7}, Qt::black); // empty
    }
    EXPECT_EQ(at(4, 0), Qt::black);
    EXPECT_EQ(at(5, 0), Qt::white);
    EXPECT_EQ(at(3, 13), Qt::black);
    EXPECT_EQ(at(4, 14), Qt::white);
    EXPECT_EQ(inked(), 5 + 4);
}

TEST_F(Canvas, RaisedEdgeHasLightTopLeftAndShadowOwnsTheFarCorners)
{
    EXPECT_EQ(edge({0, 0, 10, 8}, EDGE_RAISED), (Rect{2, 2, 8, 6}));
    expectPixels({{0, 0, colors::cl3DLight},
                  {9, 0, colors::cl3DDkShadow}, // top-right corner
                  {0, 7, colors::cl3DDkShadow}, // bottom-left corner
                  {9, 7, colors::cl3DDkShadow},
                  {1, 1, colors::clBtnHighlight},
                  {8, 1, colors::clBtnShadow},
                  {8, 6, colors::clBtnShadow},
                  {2, 2, Qt::white}, // no BF_MIDDLE, inside untouched
                  {10, 8, Qt::white}});
}

TEST_F(Canvas, SunkenEdgeMirrorsTheColours)
{
    edge({0, 0, 10, 10}, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    expectPixels({{0, 0, colors::clBtnShadow},
                  {9, 9, colors::clBtnHighlight},
                  {1, 1, colors::cl3DDkShadow},
                  {8, 8, colors::cl3DLight},
                  {5, 5, colors::clBtnFace}});
}

TEST_F(Canvas, SingleBorderOnChosenSidesShrinksOnlyThoseSides)
{
    EXPECT_EQ(edge({0, 0, 10, 10}, BDR_SUNKENINNER, BF_LEFT | BF_BOTTOM), (Rect{1, 0, 10, 9}));
    expectPixels({{0, 0, colors::cl3DDkShadow}, {5, 9, colors::cl3DLight}, {5, 0, Qt::white}, {9, 5, Qt::white}});
}

TEST_F(Canvas, FlatEdgeIsOneShadowLine)
{
    EXPECT_EQ(edge({0, 0, 10, 10}, BDR_RAISEDOUTER, BF_RECT | BF_FLAT), (Rect{1, 1, 9, 9}));
    expectPixels({{0, 0, colors::clBtnShadow}, {9, 9, colors::clBtnShadow}});
    EXPECT_EQ(inked(), 36);
}

TEST_F(Canvas, FocusRectInvertsEveryOtherPixelAndUndoesItself)
{
    image.fill(Qt::black);
    {
        QPainter p(&image);
        drawFocusRect(p, {2, 2, 8, 6});
    }
    EXPECT_EQ(at(2, 2), Qt::white);
    EXPECT_EQ(at(3, 2), Qt::black);
    EXPECT_EQ(at(4, 2), Qt::white);
    EXPECT_EQ(at(7, 3), Qt::white); // right side continues the pattern
    EXPECT_EQ(at(4, 4), Qt::black); // inside untouched
    {
        QPainter p(&image);
        drawFocusRect(p, {2, 2, 8, 6});
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(at(x, y), Qt::black) << x << "," << y;
}

TEST_F(Canvas, ClipExcluderKeepsDrawnElementsFromBeingOverdrawn)
{
    {
        QPainter p(&image);
        ClipExcluder clip(p, {0, 0, 10, 10});
        fillRect(p, {2, 2, 4, 4}, Qt::red);
        clip.exclude({2, 2, 4, 4});
        fillRect(p, {0, 0, 20, 20}, Qt::blue); // background last
    }
    EXPECT_EQ(at(2, 2), Qt::red);
    EXPECT_EQ(at(0, 0), Qt::blue);
    EXPECT_EQ(at(9, 9), Qt::blue);
    EXPECT_EQ(at(10, 10), Qt::white); // outside the area
}

namespace {

class Text : public ::testing::Test {
protected:
    Text() : image(200, 100, QImage::Format_RGB32), painter(&image)
    {
        image.fill(Qt::white);
        painter.setFont(defaultFont());
        painter.setPen(Qt::black);
    }
    // Leftmost and rightmost inked columns within rows [top, bottom).
    std::pair<int, int> inkedColumns(int top, int bottom) const
    {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = top; y < bottom; ++y)
                if (image.pixelColor(x, y) != QColor(Qt::white)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return {first, last};
    }
    QImage image;
    QPainter painter;
};

} // namespace

TEST_F(Text, CalcRectMeasuresWithoutDrawing)
{
    Rect r{10, 10, 200, 10};
    EXPECT_EQ(drawText(painter, QStringLiteral("000"), r, DT_SINGLELINE | DT_CALCRECT), 13);
    EXPECT_EQ(r, (Rect{10, 10, 28, 23}));
    EXPECT_EQ(inkedColumns(0, 100).first, -1);

    Rect lines{0, 0, 100, 0};
    drawText(painter, QStringLiteral("00\r0000"), lines, DT_CALCRECT);
    EXPECT_EQ(lines, (Rect{0, 0, 24, 26})); // carriage return breaks the line
}

TEST_F(Text, WordBreakWrapsAtSpacesWithinTheWidth)
{
    Rect r{0, 0, 40, 0};
    const int height = drawText(painter, QStringLiteral("000 000 000 0000000000"), r, DT_WORDBREAK | DT_CALCRECT);
    // "000 000" fits in 40 pixels; the long word stands alone and overflows.
    EXPECT_EQ(height, 3 * 13);
    EXPECT_EQ(r.right, 60);
}

TEST_F(Text, EndEllipsisShortensToTheWidth)
{
    Rect r{0, 0, 40, 13};
    drawText(painter, QStringLiteral("0000000000000"), r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    const auto [first, last] = inkedColumns(0, 13);
    EXPECT_GE(first, 0);
    EXPECT_LT(last, 40);

    Rect measured{0, 0, 40, 0};
    drawText(painter, QStringLiteral("0000000000000"), measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(measured.width(), 40);
    EXPECT_GT(measured.width(), 30);
}

TEST_F(Text, CentringAndRightAlignmentPlaceTheLine)
{
    Rect centred{0, 0, 100, 13};
    drawText(painter, QStringLiteral("0"), centred, DT_SINGLELINE | DT_CENTER);
    const auto [first, last] = inkedColumns(0, 13);
    EXPECT_GE(first, 47);
    EXPECT_LE(last, 53);

    Rect right{0, 20, 100, 33};
    drawText(painter, QStringLiteral("0"), right, DT_SINGLELINE | DT_RIGHT);
    EXPECT_GE(inkedColumns(20, 33).first, 94);
    EXPECT_LE(inkedColumns(20, 33).second, 99);
}

TEST_F(Text, VerticalCentringAndClipping)
{
    Rect r{0, 0, 100, 41};
    drawText(painter, QStringLiteral("0"), r, DT_SINGLELINE | DT_VCENTER);
    for (int y = 0; y < 14; ++y)
        EXPECT_EQ(inkedColumns(y, y + 1).first, -1) << y; // the line sits at 14..27

    Rect clipped{0, 60, 3, 73};
    drawText(painter, QStringLiteral("000"), clipped, DT_SINGLELINE);
    EXPECT_LT(inkedColumns(60, 73).second, 3);
}

TEST_F(Text, PrefixCharactersAreHiddenUnlessNoPrefix)
{
    Rect prefixed{0, 0, 200, 0};
    drawText(painter, QStringLiteral("&00"), prefixed, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(prefixed.width(), 12);
    Rect plain{0, 0, 200, 0};
    drawText(painter, QStringLiteral("&00"), plain, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(plain.width(), 12 + textWidth(defaultFont(), QStringLiteral("&")));
}
