#include "platform/anchors.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

using namespace platform;

void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace {

// The main window's client area and two of its controls, as declared.
struct Window : ::testing::Test {
    Window()
    {
        parent.resize(714, 482);
        grid.setParent(&parent);
        grid.setGeometry(8, 88, 697, 215);
        navigator.setParent(&parent);
        navigator.setGeometry(8, 456, 224, 18);
        parent.show(); // hidden widgets get their resize events only when shown
    }
    QWidget parent, grid, navigator;
};

} // namespace

TEST_F(Window, BothSidesAnchoredStretchOneSideMovesWithIt)
{
    setAnchors(&grid, akLeft | akTop | akRight | akBottom);
    setAnchors(&navigator, akLeft | akBottom);
    parent.resize(814, 582);
    EXPECT_EQ(grid.geometry(), QRect(8, 88, 797, 315));
    EXPECT_EQ(navigator.geometry(), QRect(8, 556, 224, 18));

    parent.resize(714, 482); // back again: exactly the declared places
    EXPECT_EQ(grid.geometry(), QRect(8, 88, 697, 215));
    EXPECT_EQ(navigator.geometry(), QRect(8, 456, 224, 18));
}

TEST_F(Window, ShrinkingBelowTheDeclaredSizeNeverGivesANegativeSize)
{
    setAnchors(&grid, akLeft | akTop | akRight | akBottom);
    parent.resize(10, 10);
    EXPECT_EQ(grid.width(), 0);
    EXPECT_EQ(grid.height(), 0);
    EXPECT_EQ(grid.pos(), QPoint(8, 88));
}

TEST_F(Window, UnanchoredAxisKeepsTheCentreInProportion)
{
    setAnchors(&navigator, akTop); // neither left nor right
    parent.resize(1428, 482);
    EXPECT_EQ(navigator.geometry(), QRect(2 * 120 - 112, 456, 224, 18));
}

TEST_F(Window, AnchoringAgainReplacesTheEarlierAnchors)
{
    setAnchors(&navigator, akLeft | akTop);
    setAnchors(&navigator, akRight | akBottom);
    parent.resize(724, 492);
    EXPECT_EQ(navigator.geometry(), QRect(18, 466, 224, 18));
}
