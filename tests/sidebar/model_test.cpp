#include "controls/sidebar/sidebarviewinfo.h"
#include "sidebarfixture.h"

#include <gtest/gtest.h>

TEST(SideBarModel, DefaultsOfANewBar)
{
    TSideBar bar;
    EXPECT_EQ(bar.paintStyle(), sbpsFlat);
    EXPECT_EQ(bar.spaceHeight(), 7);
    EXPECT_EQ(bar.scrollDelay(), 300);
    EXPECT_EQ(bar.activeGroupIndex(), 0);
    EXPECT_EQ(bar.size(), QSize(150, 300));
    EXPECT_EQ(bar.dragMode(), dmManual);
    EXPECT_EQ(bar.dropMarkPlace(), dpNone);
    EXPECT_EQ(bar.scrollTimer(), -1);
    EXPECT_TRUE(bar.showGroups());
    EXPECT_EQ(bar.itemFontColor(), platform::colors::clWindow);
    TSideGroup &group = bar.groups().Add();
    EXPECT_EQ(group.caption(), QStringLiteral("New Group"));
    EXPECT_EQ(bar.activeGroup(), &group) << "the first group activates itself";
    TSideBarItem &item = group.items().Add();
    EXPECT_TRUE(item.isDefault());
    EXPECT_EQ(item.largeImage(), -1);
    EXPECT_TRUE(item.isEnabled());
}

TEST(SideBarModel, OutOfRangeSettingsAreIgnored)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setSpaceHeight(4);
    EXPECT_EQ(bar.spaceHeight(), 7);
    bar.setSpaceHeight(5);
    EXPECT_EQ(bar.spaceHeight(), 5);
    bar.setGroupHeightOffSet(10);
    bar.setGroupHeightOffSet(-1);
    EXPECT_EQ(bar.groupHeightOffSet(), 0);
    bar.setGroupHeightOffSet(9);
    EXPECT_EQ(bar.groupHeightOffSet(), 9);
    bar.setScrollDelay(0);
    EXPECT_EQ(bar.scrollDelay(), 300);
    bar.bkGround().setStep(0);
    EXPECT_EQ(bar.bkGround().step(), 2);
}

TEST(SideBarModel, ActiveGroupIndexOutOfRangeFallsBackToTheFirstGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    int changes = 0;
    bar.OnChangeActiveGroup = [&](TSideBar &) { ++changes; };
    bar.setActiveGroupIndex(5);
    EXPECT_EQ(bar.activeGroupIndex(), 0);
    EXPECT_EQ(bar.activeGroup(), bar.groups()[0]);
    EXPECT_EQ(changes, 0) << "the group was already active";

    TSideBar empty;
    empty.setActiveGroupIndex(3);
    EXPECT_EQ(empty.activeGroup(), nullptr);
    EXPECT_EQ(empty.activeGroupIndex(), 3);
}

TEST(SideBarModel, HidingGroupsMovesTheActiveGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.groups().Add();
    TSideGroup &third = bar.groups().Add();
    bar.setActiveGroupIndex(2);
    ASSERT_EQ(bar.activeGroup(), &third);

    // Indexes count visible groups only.
    bar.groups()[0]->setVisible(false);
    EXPECT_EQ(bar.activeGroup(), &third);
    EXPECT_EQ(bar.activeGroupIndex(), 1);

    third.setVisible(false);
    EXPECT_EQ(bar.activeGroup(), &second);
    EXPECT_EQ(bar.activeGroupIndex(), 0);

    second.setVisible(false);
    EXPECT_EQ(bar.activeGroup(), nullptr);
    EXPECT_EQ(bar.activeGroupIndex(), -1);
    EXPECT_TRUE(bar.viewInfo().ItemInfos().empty());

    third.setVisible(true);
    EXPECT_EQ(bar.activeGroup(), &third);
    EXPECT_EQ(bar.activeGroupIndex(), 0);
}

TEST(SideBarModel, SwitchingGroupsResetsScrollAndRemembersThePreviousGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &menuGroup = *bar.groups()[0];
    TSideGroup &other = bar.groups().Add();
    menuGroup.setTopItemIndex(2);
    bar.setActiveGroupIndex(1);
    EXPECT_EQ(bar.activeGroup(), &other);
    EXPECT_EQ(bar.previousActiveGroup(), &menuGroup);
    bar.SetActiveGroup(&menuGroup);
    EXPECT_EQ(menuGroup.topItemIndex(), 0);
    EXPECT_EQ(bar.activeGroupIndex(), 0);
}

TEST(SideBarModel, DeletingTheActiveGroupActivatesTheFirstRemaining)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.groups().Add();
    QStringList deleted;
    bar.OnDeleteItem = [&](TSideBar &, TSideBarItem *item) { deleted << item->caption(); };
    bar.groups().Delete(0);
    EXPECT_EQ(deleted.size(), 5);
    EXPECT_EQ(bar.activeGroup(), &second);
    EXPECT_EQ(bar.activeGroupIndex(), 0);
    bar.groups().Delete(0);
    EXPECT_EQ(bar.activeGroup(), nullptr);
    EXPECT_EQ(bar.activeGroupIndex(), -1);
    EXPECT_TRUE(bar.viewInfo().GroupInfos().empty());
}

TEST(SideBarModel, DeletedItemsLeaveNoReferenceBehind)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setCanSelected(true);
    int selectionChanges = 0;
    bar.OnChangeSelectedItem = [&](TSideBar &) { ++selectionChanges; };
    bar.SetFocusedItem(&menu.item(1), false);
    bar.SetSelectedItem(&menu.item(1));
    bar.SetDropMark(&menu.item(1), dpBefore);
    bar.groups()[0]->items().Delete(1);
    EXPECT_EQ(bar.focusedItem(), nullptr);
    EXPECT_EQ(bar.selectedItem(), nullptr);
    EXPECT_EQ(bar.dropMarkItem(), nullptr);
    EXPECT_EQ(bar.dropMarkPlace(), dpNone);
    EXPECT_EQ(selectionChanges, 2);
    EXPECT_EQ(bar.viewInfo().ItemInfos().size(), 4u);
}

TEST(SideBarModel, DeletingTheItemsBelowTheScrollPositionKeepsTheGroupScrollable)
{
    MenuBar menu;
    TSideGroup &group = *menu.bar.groups()[0];
    group.setTopItemIndex(4);
    group.items().Delete(4);
    EXPECT_EQ(group.topItemIndex(), 3);
    EXPECT_EQ(menu.bar.viewInfo().ItemInfos().size(), 1u);
    EXPECT_FALSE(menu.bar.viewInfo().UpButtonBounds().isEmpty());
}

TEST(SideBarModel, SelectionOnlyWhileAllowed)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.SetSelectedItem(&menu.item(0));
    EXPECT_EQ(bar.selectedItem(), nullptr);
    bar.setCanSelected(true);
    bar.SetSelectedItem(&menu.item(0));
    EXPECT_EQ(bar.selectedItem(), &menu.item(0));
    bar.setCanSelected(false);
    EXPECT_EQ(bar.selectedItem(), nullptr);
}

TEST(SideBarModel, ItemsCanBeReorderedAndCopied)
{
    MenuBar menu;
    TSideBarItem &help = menu.item(4);
    help.setIndex(0);
    EXPECT_EQ(menu.tags(), (QList<int>{5, 1, 2, 3, 4}));
    EXPECT_EQ(help.index(), 0);

    TSideBarItem &copy = menu.bar.groups()[0]->items().Add();
    help.Hint = QStringLiteral("Справка|Открыть справку");
    help.CustomData = QStringLiteral("hh");
    help.setEnabled(false);
    copy.Assign(help);
    EXPECT_EQ(copy.caption(), help.caption());
    EXPECT_EQ(copy.Tag, 5);
    EXPECT_EQ(copy.largeImage(), 4);
    EXPECT_EQ(copy.Hint, help.Hint);
    EXPECT_EQ(copy.CustomData, QStringLiteral("hh"));
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_EQ(copy.index(), 5);
}

TEST(SideBarModel, GroupCaptionChangeIsReportedWithTheGroup)
{
    MenuBar menu;
    TSideGroup *reported = nullptr;
    menu.bar.OnChangeGroupCaption = [&](TSideGroup &sender, TSideGroup *group) {
        EXPECT_EQ(&sender, group);
        reported = group;
    };
    menu.bar.groups()[0]->setCaption(QStringLiteral("Меню"));
    EXPECT_EQ(reported, menu.bar.groups()[0]);
}

TEST(SideBarModel, ReleasedImageListIsForgotten)
{
    TSideBar bar;
    bar.setGeometry(0, 0, 97, 482);
    bar.setPaintStyle(sbpsXP);
    auto list = std::make_unique<ImageList>(48, 48);
    bar.setLargeImages(list.get());
    bar.groups().Add().items().Add();
    EXPECT_EQ(bar.viewInfo().ItemInfos()[0]->PictureBounds.width(), 48);
    list.reset();
    EXPECT_EQ(bar.largeImages(), nullptr);
    EXPECT_EQ(bar.viewInfo().ItemInfos()[0]->PictureBounds.width(), 32);
}

TEST(SideBarModel, AssigningGroupsCopiesThemAndActivatesTheFirst)
{
    MenuBar source;
    source.bar.groups().Add().setCaption(QStringLiteral("Второе"));
    source.bar.groups()[1]->items().Add().Tag = 7;
    TSideBar bar;
    bar.groups().Add();
    bar.groups().Add();
    bar.setActiveGroupIndex(1);

    bar.setGroups(source.bar.groups());
    ASSERT_EQ(bar.groups().count(), 2);
    EXPECT_EQ(bar.groups()[0]->caption(), QStringLiteral("МЕНЮ"));
    EXPECT_EQ(bar.groups()[1]->items()[0]->Tag, 7);
    EXPECT_EQ(bar.groups()[0]->items().count(), 5);
    EXPECT_EQ(bar.groups()[0]->items()[2]->caption(), source.item(2).caption());
    EXPECT_EQ(bar.activeGroupIndex(), 0);
    EXPECT_EQ(bar.activeGroup(), bar.groups()[0]);
    EXPECT_EQ(source.bar.groups().count(), 2) << "the source keeps its own";
}

TEST(SideBarModel, WhileLoadingGroupsDoNotActivateThemselves)
{
    TSideBar bar;
    int captionChanges = 0;
    bar.OnChangeGroupCaption = [&](TSideGroup &, TSideGroup *) { ++captionChanges; };
    bar.beginLoading();
    TSideGroup &hidden = bar.groups().Add();
    TSideGroup &second = bar.groups().Add();
    hidden.setVisible(false);
    second.setCaption(QStringLiteral("Второе"));
    EXPECT_EQ(bar.activeGroup(), nullptr);
    EXPECT_EQ(captionChanges, 0);
    bar.endLoading();
    EXPECT_FALSE(bar.isLoading());
    EXPECT_EQ(bar.activeGroup(), &second) << "the first visible group";
    EXPECT_EQ(bar.activeGroupIndex(), 0);

    // A stored index activates its group while loading, as the form sets it;
    // what is removed meanwhile is not left in the layout.
    second.items().Add();
    bar.beginLoading();
    bar.groups().Add();
    bar.setActiveGroupIndex(1);
    EXPECT_EQ(bar.activeGroup(), bar.groups()[2]);
    second.items().Delete(0);
    bar.groups().Delete(1);
    EXPECT_EQ(bar.itemAt({48, 60}), nullptr);
    EXPECT_EQ(bar.groupAt({48, 5}), bar.groups()[1]);
    bar.endLoading();
    EXPECT_EQ(bar.activeGroup(), bar.groups()[1]);
}

TEST(SideBarModel, ASingleBorderSurroundsTheClientAreaUntilThePaintStyleChanges)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setBorderStyle(bsSingle);
    EXPECT_EQ(bar.clientBounds(), (platform::Rect{1, 1, 96, 481}));
    EXPECT_EQ(bar.viewInfo().BarBounds(), (platform::Rect{2, 2, 95, 480}));
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(96, 481)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(1, 1)), platform::colors::clBtnShadow) << "the sunken frame inside it";

    bar.setPaintStyle(sbpsFlat);
    EXPECT_EQ(bar.borderStyle(), bsNone);
    EXPECT_EQ(bar.viewInfo().BarBounds(), (platform::Rect{1, 1, 96, 482}));
}
