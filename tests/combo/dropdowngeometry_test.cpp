#include "controls/combo/dropdowngeometry.h"

#include <gtest/gtest.h>

using namespace combo;

TEST(DropDownGeometry, EditHeightAndButton)
{
    EXPECT_EQ(autoHeight(13), 21);
    // A 169 x 21 edit has a 165 x 17 client area: the button fills its height.
    EXPECT_EQ(buttonRect({165, 17}, 16), QRect(149, 0, 16, 17));
    // In a tall edit the button stays square.
    EXPECT_EQ(buttonRect({165, 40}, 16), QRect(149, 0, 16, 16));
    EXPECT_EQ(buttonRect({165, 24}, 16), QRect(149, 0, 16, 24)); // 1.5 x 16 = 24 does not fit below 24
}

TEST(DropDownGeometry, ListHeightSnapsToWholeRows)
{
    EXPECT_EQ(listHeight(6, 13), 82);
    EXPECT_EQ(snapToRows(82, 13), 82);
    EXPECT_EQ(snapToRows(94, 13), 82);
    EXPECT_EQ(snapToRows(95, 13), 95);
    EXPECT_EQ(snapToRows(3, 13), 17); // never less than one row
}

namespace {
const QRect kWork{0, 0, 800, 570};
DropDownPlacement at(QRect control, QSize list = {169, 82})
{
    return {.control = control, .list = list, .workArea = kWork, .align = daLeft, .itemHeight = 13};
}
} // namespace

TEST(DropDownGeometry, OpensBelowWhenItFits)
{
    EXPECT_EQ(placeDropDownList(at({100, 100, 169, 21})), QRect(100, 121, 169, 82));
    EXPECT_EQ(placeDropDownList(at({100, 467, 169, 21})), QRect(100, 488, 169, 82)); // exactly fits
}

TEST(DropDownGeometry, OpensAboveNearTheBottom)
{
    EXPECT_EQ(placeDropDownList(at({100, 500, 169, 21})), QRect(100, 418, 169, 82));
}

TEST(DropDownGeometry, FitsNeitherSideTakesTheRoomierOneShrunkToRows)
{
    const QSize tall{169, listHeight(50, 13)};
    // 300 pixels above, 249 below: above, 22 rows.
    EXPECT_EQ(placeDropDownList(at({100, 300, 169, 21}, tall)), QRect(100, 300 - 290, 169, 290));
    // 200 above, 349 below: below, 26 rows.
    EXPECT_EQ(placeDropDownList(at({100, 200, 169, 21}, tall)), QRect(100, 221, 169, 342));
}

TEST(DropDownGeometry, StaysInsideTheWorkArea)
{
    EXPECT_EQ(placeDropDownList(at({700, 100, 169, 21})).x(), 800 - 169);
    EXPECT_EQ(placeDropDownList(at({-50, 100, 169, 21})).x(), 0);
    const QRect wide = placeDropDownList(at({100, 100, 169, 21}, {1000, 82}));
    EXPECT_EQ(wide.x(), 0);
    EXPECT_EQ(wide.width(), 800);
}

TEST(DropDownGeometry, Alignment)
{
    auto p = at({100, 100, 169, 21}, {249, 82});
    p.align = daRight;
    EXPECT_EQ(placeDropDownList(p).x(), 100 + 169 - 249);
    p.align = daCenter;
    EXPECT_EQ(placeDropDownList(p).x(), 100 - 40);
}
