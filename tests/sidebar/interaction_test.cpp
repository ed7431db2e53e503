#include "sidebarfixture.h"
#include "sidebardrag.h"
#include "sidebarviewinfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimerEvent>
#include <gtest/gtest.h>

namespace {

struct Clicks {
    explicit Clicks(TSideBar &bar)
    {
        bar.OnItemClick = [this](TSideBar *, TSideBarItem *item) { tags << item->Tag; };
    }
    QList<int> tags;
};

} // namespace

TEST(SideBarClick, ReleaseOnThePressedItemClicksItOnce)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideBar *sender = nullptr;
    QList<int> tags;
    bar.OnItemClick = [&](TSideBar *s, TSideBarItem *item) {
        sender = s;
        tags << item->Tag;
    };
    const QPoint p = pictureCentre(bar, menu.item(2));
    press(bar, p);
    EXPECT_TRUE(bar.ClickPending());
    EXPECT_EQ(bar.FocusedItem(), &menu.item(2));
    EXPECT_TRUE(bar.FocusedItemPressed());
    release(bar, p);
    EXPECT_EQ(tags, QList<int>{3});
    EXPECT_EQ(sender, &bar);
    EXPECT_FALSE(bar.ClickPending());
    EXPECT_EQ(bar.FocusedItem(), &menu.item(2)) << "the highlight stays until the pointer moves";
}
