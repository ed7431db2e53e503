#include "controls/sidebar/sidebarpainter.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "sidebarfixture.h"

#include "platform/drawing.h"
#include "platform/fonts.h"

#include <gtest/gtest.h>

using platform::Rect;

namespace {

const TSideItemViewInfo &infoOf(TSideBar &bar, const TSideBarItem &item)
{
    const TSideItemViewInfo *info = bar.viewInfo().ItemInfo(&item);
    EXPECT_NE(info, nullptr);
    return *info;
}

} // namespace

TEST(SideBarLayout, MainWindowBarMatchesTheWorkedExample)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    ASSERT_EQ(platform::textHeight(bar.groupFont()), 13);
    ASSERT_EQ(platform::textHeight(bar.itemFont()), 13);

    TSideBarViewInfo &layout = bar.viewInfo();
    EXPECT_EQ(layout.BarBounds(), (Rect{1, 1, 96, 481}));
    ASSERT_EQ(layout.GroupInfos().size(), 1u);
    EXPECT_EQ(layout.GroupInfos()[0]->HeaderBounds, (Rect{1, 1, 96, 22}));
    EXPECT_EQ(layout.ItemsArea(), (Rect{2, 22, 95, 480}));

    const TSideItemViewInfo &first = infoOf(bar, menu.item(0));
    EXPECT_EQ(first.PictureBounds, (Rect{32, 36, 64, 68}));
    EXPECT_EQ(first.PictureFrame(), (Rect{27, 31, 69, 73}));
    EXPECT_EQ(first.TextBounds.top, 75);
    // Wrapped within the area's 93 pixels and centred on it.
    EXPECT_LE(first.TextBounds.width(), 93);
    EXPECT_EQ(first.TextBounds.left - 2, (93 - first.TextBounds.width()) / 2);
    ASSERT_EQ(first.TextBounds.height(), 26) << "the first caption takes two lines";
    EXPECT_EQ(first.bottom(), 101);
    EXPECT_EQ(infoOf(bar, menu.item(1)).PictureBounds.top, 115);

    // All five fit: no scroll button.
    EXPECT_EQ(layout.ItemInfos().size(), 5u);
    EXPECT_TRUE(layout.UpButtonBounds().isEmpty());
    EXPECT_TRUE(layout.DownButtonBounds().isEmpty());

    // Scrolled by one in a bar too short for the rest, both buttons show.
    bar.resize(97, 300);
    bar.groups()[0]->setTopItemIndex(1);
    EXPECT_EQ(layout.UpButtonBounds(), (Rect{72, 29, 88, 45}));
    bar.resize(97, 482);
    for (int i = 0; i < 6; ++i)
        bar.groups()[0]->items().Add().setCaption(QStringLiteral("Ещё один пункт"));
    EXPECT_EQ(layout.DownButtonBounds(), (Rect{72, 457, 88, 473}));
}

TEST(SideBarLayout, DownButtonShowsExactlyWhenTheLastItemIsCutByOnePixel)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    const int lastBottom = infoOf(bar, menu.item(4)).bottom();

    // The items area ends two pixels above the client bottom.
    bar.resize(97, lastBottom + 2);
    EXPECT_EQ(bar.viewInfo().ItemsArea().bottom, lastBottom);
    EXPECT_FALSE(infoOf(bar, menu.item(4)).isCut());
    EXPECT_TRUE(bar.viewInfo().DownButtonBounds().isEmpty());

    bar.resize(97, lastBottom + 1);
    EXPECT_TRUE(infoOf(bar, menu.item(4)).isCut());
    EXPECT_FALSE(bar.viewInfo().DownButtonBounds().isEmpty());
    EXPECT_TRUE(bar.viewInfo().UpButtonBounds().isEmpty());
}

TEST(SideBarLayout, ItemsStartingBelowTheAreaAreNotLaidOut)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    const TSideItemViewInfo &third = infoOf(bar, menu.item(2));
    // The fourth item would start exactly at the area's bottom.
    bar.resize(97, third.bottom() + bar.spaceHeight() + 2);
    ASSERT_EQ(bar.viewInfo().ItemInfos().size(), 3u);
    EXPECT_FALSE(bar.viewInfo().DownButtonBounds().isEmpty()) << "more items follow";
}

TEST(SideBarLayout, ScrolledTwoItemGroupShowsOnlyTheSecondItemAndTheUpButton)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideBarItems &items = bar.groups()[0]->items();
    while (items.count() > 2)
        items.Delete(items.count() - 1);
    bar.groups()[0]->setTopItemIndex(1);

    TSideBarViewInfo &layout = bar.viewInfo();
    ASSERT_EQ(layout.ItemInfos().size(), 1u);
    EXPECT_EQ(layout.ItemInfos()[0]->Item, items[1]);
    EXPECT_EQ(layout.ItemInfos()[0]->PictureBounds.top, 36);
    EXPECT_EQ(layout.UpButtonBounds(), (Rect{72, 29, 88, 45}));
    EXPECT_TRUE(layout.DownButtonBounds().isEmpty());

    // Out of range or unchanged positions are ignored.
    bar.groups()[0]->setTopItemIndex(2);
    bar.groups()[0]->setTopItemIndex(-1);
    EXPECT_EQ(bar.groups()[0]->topItemIndex(), 1);
}

TEST(SideBarLayout, WithoutGroupHeadersTheItemsUseTheWholeBar)
{
    MenuBar menu;
    menu.bar.setShowGroups(false);
    TSideBarViewInfo &layout = menu.bar.viewInfo();
    EXPECT_TRUE(layout.GroupInfos().empty());
    EXPECT_EQ(layout.ItemsArea(), (Rect{2, 1, 95, 481}));
    EXPECT_EQ(infoOf(menu.bar, menu.item(0)).PictureBounds.top, 1 + 7 + 7);
}

TEST(SideBarLayout, HeadersStackAboveAndBelowTheActiveGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.groups().Add().setCaption(QStringLiteral("Второй"));
    bar.groups().Add().setCaption(QStringLiteral("Третий"));
    bar.groups().Add().setVisible(false);
    bar.setActiveGroupIndex(1);

    const auto &headers = bar.viewInfo().GroupInfos();
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_EQ(headers[0]->HeaderBounds, (Rect{1, 1, 96, 22}));
    EXPECT_EQ(headers[1]->HeaderBounds, (Rect{1, 22, 96, 43}));
    EXPECT_EQ(headers[2]->Group, bar.groups()[2]);
    EXPECT_EQ(headers[2]->HeaderBounds, (Rect{1, 460, 96, 481}));
    EXPECT_EQ(bar.viewInfo().ItemsArea(), (Rect{2, 43, 95, 460}));
    EXPECT_EQ(bar.groupAt({40, 470}), bar.groups()[2]);
    EXPECT_EQ(bar.groupAt({40, 100}), nullptr);
}

// Hiding the active group hands the focus over first; a handler that reads
// the layout then sees the hidden group still active, without a header.
TEST(SideBarLayout, AHiddenActiveGroupHasNoHeaderAndLimitsNothing)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.groups().Add();
    moveFree(bar, pictureCentre(bar, menu.item(1)));
    ASSERT_EQ(bar.focusedItem(), &menu.item(1));
    bar.resize(97, 300); // the next read lays out afresh
    std::vector<Rect> itemAreas;
    std::vector<size_t> headerCounts;
    bar.OnChangeFocusedItem = [&](TSideBar &sender) {
        itemAreas.push_back(sender.viewInfo().ItemsArea());
        headerCounts.push_back(sender.viewInfo().GroupInfos().size());
    };
    bar.groups()[0]->setVisible(false);
    ASSERT_EQ(itemAreas.size(), 1u);
    EXPECT_EQ(itemAreas[0], (Rect{2, 2, 95, 298}));
    EXPECT_EQ(headerCounts[0], 1u);
    EXPECT_EQ(bar.activeGroup(), &second);
}

TEST(SideBarLayout, PaintStyleChangeTakesEffectWithoutAnyOtherCall)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setPaintStyle(sbpsFlat);
    EXPECT_EQ(infoOf(bar, menu.item(0)).PictureFrame(), infoOf(bar, menu.item(0)).PictureBounds.inflated(1, 1));
    const int flatGap = bar.viewInfo().ItemsArea().top;

    bar.setPaintStyle(sbpsXP);
    EXPECT_EQ(infoOf(bar, menu.item(0)).PictureFrame(), infoOf(bar, menu.item(0)).PictureBounds.inflated(5, 5));
    EXPECT_EQ(bar.viewInfo().GroupInfos()[0]->HeaderBounds.height(), 21);
    EXPECT_EQ(flatGap, 22);

    bar.setPaintStyle(sbpsStandard);
    EXPECT_EQ(bar.viewInfo().GroupInfos()[0]->HeaderBounds.height(), 17);
    bar.setGroupHeightOffSet(3);
    EXPECT_EQ(bar.viewInfo().GroupInfos()[0]->HeaderBounds.height(), 19);
}

TEST(SideBarLayout, HitTestsCoverCaptionAndFrameButNotTheGaps)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    const TSideItemViewInfo &first = infoOf(bar, menu.item(0));
    EXPECT_EQ(bar.itemAt({first.PictureFrame().left, first.PictureFrame().top}), &menu.item(0));
    EXPECT_EQ(bar.itemAt({first.PictureFrame().left - 1, 50}), nullptr);
    // Between picture and caption only the caption's width counts.
    const int between = first.PictureBounds.bottom + 6;
    EXPECT_EQ(bar.itemAt({first.TextBounds.left, between}), &menu.item(0));
    EXPECT_EQ(bar.itemAt({first.TextBounds.left - 1, between}), nullptr);
    EXPECT_EQ(bar.itemAt({48, first.bottom() + 3}), nullptr);
    EXPECT_EQ(bar.groupAt({48, 10}), bar.groups()[0]);
}

TEST(SideBarLayout, DropPlacesFollowTheGapsAndItems)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideBarViewInfo &layout = bar.viewInfo();
    const TSideItemViewInfo &second = infoOf(bar, menu.item(1));
    const TSideItemViewInfo &last = infoOf(bar, menu.item(4));

    TSideDropPlace place = layout.dropPlaceAt({48, second.top() - 1});
    EXPECT_EQ(place.Item, &menu.item(1));
    EXPECT_EQ(place.Place, dpBefore);
    place = layout.dropPlaceAt({48, second.top() + 3});
    EXPECT_EQ(place.Item, &menu.item(1));
    EXPECT_EQ(place.Place, dpNone);
    place = layout.dropPlaceAt({48, last.bottom() + 3});
    EXPECT_EQ(place.Item, &menu.item(4));
    EXPECT_EQ(place.Place, dpAfter);
    EXPECT_EQ(layout.dropPlaceAt({48, 10}).Place, dpNone) << "headers are outside the items area";

    EXPECT_EQ(layout.markBounds(second, dpBefore), (Rect{2, second.top() - 8, 95, second.top()}));
    EXPECT_EQ(layout.markBounds(second, dpAfter), (Rect{2, second.bottom(), 95, second.bottom() + 8}));

    TSideBarItems &items = bar.groups()[0]->items();
    items.Clear();
    place = layout.dropPlaceAt({48, 100});
    EXPECT_EQ(place.Item, nullptr);
    EXPECT_EQ(place.Place, dpBefore);
}

TEST(SideBarLayout, SmallIconsStandBesideTheirCaptions)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    ImageList small(16, 16);
    small.Add(discPicture(Qt::red));
    bar.setSmallImages(&small);
    bar.groups()[0]->setIconType(sgSmallIcon);

    const TSideItemViewInfo &first = infoOf(bar, menu.item(0));
    // Row height: the larger of text height + 2 and the picture's 16.
    EXPECT_EQ(first.PictureBounds, (Rect{8, 36, 24, 52}));
    EXPECT_EQ(first.TextBounds.left, 31);
    EXPECT_EQ(first.TextBounds.top, 36);
    EXPECT_EQ(first.TextBounds.bottom, 52);
    EXPECT_EQ(first.TextBounds.right, 95 - 7) << "a long caption stops short of the area's edge";
    EXPECT_EQ(bar.itemAt({40, 40}), &menu.item(0));
    EXPECT_EQ(bar.itemAt({40, 35}), nullptr);
}
