#include "sidebarfixture.h"
#include "controls/sidebar/sidebarviewinfo.h"

#include <gtest/gtest.h>

TEST(SideBarModel, DefaultsOfANewBar)
{
    TSideBar bar;
    EXPECT_EQ(bar.PaintStyle(), sbpsFlat);
    EXPECT_EQ(bar.SpaceHeight(), 7);
    EXPECT_EQ(bar.ScrollDelay(), 300);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
    EXPECT_EQ(bar.size(), QSize(150, 300));
    EXPECT_EQ(bar.DragMode(), dmManual);
    EXPECT_EQ(bar.DropMarkPlace(), dpNone);
    EXPECT_EQ(bar.ScrollTimer(), -1);
    EXPECT_TRUE(bar.ShowGroups());
    EXPECT_EQ(bar.ItemFontColor(), platform::colors::clWindow);
    TSideGroup &group = bar.Groups().Add();
    EXPECT_EQ(group.Caption(), QStringLiteral("New Group"));
    EXPECT_EQ(bar.ActiveGroup(), &group) << "the first group activates itself";
    TSideBarItem &item = group.Items().Add();
    EXPECT_TRUE(item.IsDefault());
    EXPECT_EQ(item.LargeImage(), -1);
    EXPECT_TRUE(item.Enabled());
}

TEST(SideBarModel, OutOfRangeSettingsAreIgnored)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.SetSpaceHeight(4);
    EXPECT_EQ(bar.SpaceHeight(), 7);
    bar.SetSpaceHeight(5);
    EXPECT_EQ(bar.SpaceHeight(), 5);
    bar.SetGroupHeightOffSet(10);
    bar.SetGroupHeightOffSet(-1);
    EXPECT_EQ(bar.GroupHeightOffSet(), 0);
    bar.SetGroupHeightOffSet(9);
    EXPECT_EQ(bar.GroupHeightOffSet(), 9);
    bar.SetScrollDelay(0);
    EXPECT_EQ(bar.ScrollDelay(), 300);
    bar.BkGround().SetStep(0);
    EXPECT_EQ(bar.BkGround().Step(), 2);
}

TEST(SideBarModel, ActiveGroupIndexOutOfRangeFallsBackToTheFirstGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    int changes = 0;
    bar.OnChangeActiveGroup = [&](TSideBar *) { ++changes; };
    bar.SetActiveGroupIndex(5);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
    EXPECT_EQ(bar.ActiveGroup(), bar.Groups()[0]);
    EXPECT_EQ(changes, 0) << "the group was already active";

    TSideBar empty;
    empty.SetActiveGroupIndex(3);
    EXPECT_EQ(empty.ActiveGroup(), nullptr);
    EXPECT_EQ(empty.ActiveGroupIndex(), 3);
}

TEST(SideBarModel, HidingGroupsMovesTheActiveGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.Groups().Add();
    TSideGroup &third = bar.Groups().Add();
    bar.SetActiveGroupIndex(2);
    ASSERT_EQ(bar.ActiveGroup(), &third);

    // Indexes count visible groups only.
    bar.Groups()[0]->SetVisible(false);
    EXPECT_EQ(bar.ActiveGroup(), &third);
    EXPECT_EQ(bar.ActiveGroupIndex(), 1);

    third.SetVisible(false);
    EXPECT_EQ(bar.ActiveGroup(), &second);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);

    second.SetVisible(false);
    EXPECT_EQ(bar.ActiveGroup(), nullptr);
    EXPECT_EQ(bar.ActiveGroupIndex(), -1);
    EXPECT_TRUE(bar.ViewInfo().ItemInfos().empty());

    third.SetVisible(true);
    EXPECT_EQ(bar.ActiveGroup(), &third);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
}

TEST(SideBarModel, SwitchingGroupsResetsScrollAndRemembersThePreviousGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &menuGroup = *bar.Groups()[0];
    TSideGroup &other = bar.Groups().Add();
    menuGroup.SetTopItemIndex(2);
    bar.SetActiveGroupIndex(1);
    EXPECT_EQ(bar.ActiveGroup(), &other);
    EXPECT_EQ(bar.PreviousActiveGroup(), &menuGroup);
    bar.SetActiveGroup(&menuGroup);
    EXPECT_EQ(menuGroup.TopItemIndex(), 0);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
}

TEST(SideBarModel, DeletingTheActiveGroupActivatesTheFirstRemaining)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.Groups().Add();
    QStringList deleted;
    bar.OnDeleteItem = [&](TSideBar *, TSideBarItem *item) { deleted << item->Caption(); };
    bar.Groups().Delete(0);
    EXPECT_EQ(deleted.size(), 5);
    EXPECT_EQ(bar.ActiveGroup(), &second);
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
    bar.Groups().Delete(0);
    EXPECT_EQ(bar.ActiveGroup(), nullptr);
    EXPECT_EQ(bar.ActiveGroupIndex(), -1);
    EXPECT_TRUE(bar.ViewInfo().GroupInfos().empty());
}

TEST(SideBarModel, DeletedItemsLeaveNoReferenceBehind)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.SetCanSelected(true);
    int selectionChanges = 0;
    bar.OnChangeSelectedItem = [&](TSideBar *) { ++selectionChanges; };
    bar.SetFocusedItem(&menu.item(1), false);
    bar.SetSelectedItem(&menu.item(1));
    bar.SetDropMark(&menu.item(1), dpBefore);
    bar.Groups()[0]->Items().Delete(1);
    EXPECT_EQ(bar.FocusedItem(), nullptr);
    EXPECT_EQ(bar.SelectedItem(), nullptr);
    EXPECT_EQ(bar.DropMarkItem(), nullptr);
    EXPECT_EQ(bar.DropMarkPlace(), dpNone);
    EXPECT_EQ(selectionChanges, 2);
    EXPECT_EQ(bar.ViewInfo().ItemInfos().size(), 4u);
}

TEST(SideBarModel, DeletingTheItemsBelowTheScrollPositionKeepsTheGroupScrollable)
{
    MenuBar menu;
    TSideGroup &group = *menu.bar.Groups()[0];
    group.SetTopItemIndex(4);
    group.Items().Delete(4);
    EXPECT_EQ(group.TopItemIndex(), 3);
    EXPECT_EQ(menu.bar.ViewInfo().ItemInfos().size(), 1u);
    EXPECT_FALSE(menu.bar.ViewInfo().UpButtonBounds().isEmpty());
}

TEST(SideBarModel, SelectionOnlyWhileAllowed)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.SetSelectedItem(&menu.item(0));
    EXPECT_EQ(bar.SelectedItem(), nullptr);
    bar.SetCanSelected(true);
    bar.SetSelectedItem(&menu.item(0));
    EXPECT_EQ(bar.SelectedItem(), &menu.item(0));
    bar.SetCanSelected(false);
    EXPECT_EQ(bar.SelectedItem(), nullptr);
}

TEST(SideBarModel, ItemsCanBeReorderedAndCopied)
{
    MenuBar menu;
    TSideBarItem &help = menu.item(4);
    help.SetIndex(0);
    EXPECT_EQ(menu.tags(), (QList<int>{5, 1, 2, 3, 4}));
    EXPECT_EQ(help.Index(), 0);

    TSideBarItem &copy = menu.bar.Groups()[0]->Items().Add();
    help.Hint = QStringLiteral("Справка|Открыть справку");
    help.CustomData = QStringLiteral("hh");
    help.SetEnabled(false);
    copy.Assign(help);
    EXPECT_EQ(copy.Caption(), help.Caption());
    EXPECT_EQ(copy.Tag, 5);
    EXPECT_EQ(copy.LargeImage(), 4);
    EXPECT_EQ(copy.Hint, help.Hint);
    EXPECT_EQ(copy.CustomData, QStringLiteral("hh"));
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Index(), 5);
}

TEST(SideBarModel, GroupCaptionChangeIsReportedWithTheGroup)
{
    MenuBar menu;
    TSideGroup *reported = nullptr;
    menu.bar.OnChangeGroupCaption = [&](TSideGroup *sender, TSideGroup *group) {
        EXPECT_EQ(sender, group);
        reported = group;
    };
    menu.bar.Groups()[0]->SetCaption(QStringLiteral("Меню"));
    EXPECT_EQ(reported, menu.bar.Groups()[0]);
}

TEST(SideBarModel, ReleasedImageListIsForgotten)
{
    TSideBar bar;
    bar.setGeometry(0, 0, 97, 482);
    bar.SetPaintStyle(sbpsXP);
    auto list = std::make_unique<ImageList>(48, 48);
    bar.SetLargeImages(list.get());
    bar.Groups().Add().Items().Add();
    EXPECT_EQ(bar.ViewInfo().ItemInfos()[0]->PictureBounds.width(), 48);
    list.reset();
    EXPECT_EQ(bar.LargeImages(), nullptr);
    EXPECT_EQ(bar.ViewInfo().ItemInfos()[0]->PictureBounds.width(), 32);
}
