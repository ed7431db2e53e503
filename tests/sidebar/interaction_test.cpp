#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "sidebarfixture.h"

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
        bar.OnItemClick = [this](TSideBar &, TSideBarItem *item) { tags << item->Tag; };
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
    bar.OnItemClick = [&](TSideBar &s, TSideBarItem *item) {
        sender = &s;
        tags << item->Tag;
    };
    const QPoint p = pictureCentre(bar, menu.item(2));
    press(bar, p);
    EXPECT_TRUE(bar.clickPending());
    EXPECT_EQ(bar.focusedItem(), &menu.item(2));
    EXPECT_TRUE(bar.focusedItemPressed());
    release(bar, p);
    EXPECT_EQ(tags, QList<int>{3});
    EXPECT_EQ(sender, &bar);
    EXPECT_FALSE(bar.clickPending());
    EXPECT_EQ(bar.focusedItem(), &menu.item(2)) << "the highlight stays until the pointer moves";
}

TEST(SideBarClick, NoClickAfterMovingOffTheItemOrOnADisabledItem)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setDragMode(dmManual);
    Clicks clicks(bar);
    const QPoint p = pictureCentre(bar, menu.item(1));
    press(bar, p);
    moveHeld(bar, {5, p.y()});
    release(bar, {5, p.y()});
    EXPECT_TRUE(clicks.tags.isEmpty());

    menu.item(1).setEnabled(false);
    press(bar, p);
    release(bar, p);
    EXPECT_TRUE(clicks.tags.isEmpty());

    // A right click neither clicks nor shows a menu when none is set.
    press(bar, pictureCentre(bar, menu.item(0)), Qt::RightButton);
    release(bar, pictureCentre(bar, menu.item(0)), Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(clicks.tags.isEmpty());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(SideBarClick, WithManualDragTheItemUnderTheReleaseIsClicked)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setDragMode(dmManual);
    Clicks clicks(bar);
    press(bar, pictureCentre(bar, menu.item(0)));
    moveHeld(bar, pictureCentre(bar, menu.item(2)));
    EXPECT_EQ(bar.focusedItem(), &menu.item(0)) << "the highlight stays on the held item";
    release(bar, pictureCentre(bar, menu.item(2)));
    EXPECT_EQ(clicks.tags, QList<int>{3});
}

TEST(SideBarClick, FivePixelsStillClickSixStartADrag)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    Clicks clicks(bar);
    const QPoint p = pictureCentre(bar, menu.item(0));
    press(bar, p);
    moveHeld(bar, p + QPoint(5, -5));
    EXPECT_EQ(TSideBarDragObject::Current(), nullptr);
    release(bar, p + QPoint(5, -5));
    EXPECT_EQ(clicks.tags, QList<int>{1});

    press(bar, p);
    moveHeld(bar, p + QPoint(0, 6));
    ASSERT_NE(TSideBarDragObject::Current(), nullptr);
    EXPECT_EQ(TSideBarDragObject::Current()->SourceItem, &menu.item(0));
    release(bar, p + QPoint(0, 6));
    EXPECT_EQ(TSideBarDragObject::Current(), nullptr);
    EXPECT_EQ(clicks.tags, QList<int>{1});
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5})) << "dropped on itself";
}

TEST(SideBarClick, HidingTheHeadersTurnsDraggingOff)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setShowGroups(false);
    press(bar, pictureCentre(bar, menu.item(0)));
    moveHeld(bar, pictureCentre(bar, menu.item(3)));
    EXPECT_EQ(TSideBarDragObject::Current(), nullptr);
    release(bar, pictureCentre(bar, menu.item(3)));
}

TEST(SideBarPointer, HighlightFollowsThePointerAndLeavesWithIt)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    int changes = 0;
    bar.OnChangeFocusedItem = [&](TSideBar &) { ++changes; };
    moveFree(bar, pictureCentre(bar, menu.item(3)));
    EXPECT_EQ(bar.focusedItem(), &menu.item(3));
    moveFree(bar, pictureCentre(bar, menu.item(3)) + QPoint(1, 1));
    EXPECT_EQ(changes, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&bar, &leave);
    EXPECT_EQ(bar.focusedItem(), nullptr);
    EXPECT_EQ(changes, 2);
}

TEST(SideBarPointer, HeaderIsTrackedAndPressedWithoutChangingTheOnlyGroup)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    int changes = 0;
    bar.OnChangeActiveGroup = [&](TSideBar &) { ++changes; };
    moveFree(bar, {40, 10});
    EXPECT_EQ(bar.trackedGroup(), bar.groups()[0]);
    EXPECT_FALSE(bar.trackedGroupPressed());
    EXPECT_EQ(bar.cursor().shape(), Qt::PointingHandCursor);

    press(bar, {40, 10});
    EXPECT_TRUE(bar.trackedGroupPressed());
    moveHeld(bar, {40, 100});
    EXPECT_EQ(bar.trackedGroup(), bar.groups()[0]);
    EXPECT_FALSE(bar.trackedGroupPressed()) << "dragged off, it is drawn raised";
    moveHeld(bar, {40, 10});
    EXPECT_TRUE(bar.trackedGroupPressed());
    release(bar, {40, 10});
    EXPECT_EQ(bar.activeGroup(), bar.groups()[0]);
    EXPECT_EQ(changes, 0);

    moveFree(bar, {40, 100});
    EXPECT_EQ(bar.trackedGroup(), nullptr);
}

TEST(SideBarPointer, ReleasingOverAnotherHeaderActivatesNothing)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideGroup &second = bar.groups().Add();
    const platform::Rect lower = bar.viewInfo().GroupInfo(&second)->HeaderBounds;
    press(bar, {40, lower.top + 5});
    release(bar, {40, 10});
    EXPECT_EQ(bar.activeGroup(), bar.groups()[0]);
    EXPECT_EQ(bar.trackedGroup(), nullptr);

    press(bar, {40, lower.top + 5});
    release(bar, {40, lower.top + 5});
    EXPECT_EQ(bar.activeGroup(), &second);
}

TEST(SideBarPointer, RightClickChoosesTheItemOrGroupMenu)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    QMenu itemMenu, groupMenu;
    itemMenu.addAction(QStringLiteral("Пункт"));
    groupMenu.addAction(QStringLiteral("Группа"));
    bar.setItemPopupMenu(&itemMenu);
    bar.setGroupPopupMenu(&groupMenu);
    auto rightClick = [&](QPoint p) {
        press(bar, p, Qt::RightButton);
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, bar.mapToGlobal(p));
        QApplication::sendEvent(&bar, &event);
        release(bar, p, Qt::NoModifier, Qt::RightButton);
    };
    rightClick(pictureCentre(bar, menu.item(0)));
    EXPECT_TRUE(itemMenu.isVisible());
    EXPECT_FALSE(groupMenu.isVisible());
    itemMenu.hide();
    rightClick({48, 10});
    EXPECT_TRUE(groupMenu.isVisible());
    groupMenu.hide();
}

TEST(SideBarPointer, ItemHintShowsTheShortPart)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.setShowHint(true);
    menu.item(1).Hint = QStringLiteral("Книжка|Ваши собственные телефоны");
    moveFree(bar, pictureCentre(bar, menu.item(1)));
    const QLabel *hint = bar.findChild<QLabel *>();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("Книжка"));
    moveFree(bar, pictureCentre(bar, menu.item(2)));
    EXPECT_FALSE(hint->isVisible()) << "the next item has no hint";
}

TEST(SideBarScroll, HoldingTheDownButtonScrollsUntilTheLastItemFits)
{
    TSideBar bar;
    bar.setPaintStyle(sbpsXP);
    TSideGroup &group = bar.groups().Add();
    for (int i = 0; i < 8; ++i)
        group.items().Add().setCaption(QStringLiteral("Пункт"));
    // One-line items are 59 pixels high with 7 between them: five fit exactly.
    bar.setGeometry(0, 0, 97, 354);
    ASSERT_EQ(bar.viewInfo().ItemInfos().size(), 5u);
    const platform::Rect down = bar.viewInfo().DownButtonBounds();
    ASSERT_FALSE(down.isEmpty());
    auto tick = [&] {
        QTimerEvent event(bar.scrollTimer());
        QApplication::sendEvent(&bar, &event);
    };

    press(bar, {down.left + 3, down.top + 3});
    EXPECT_EQ(group.topItemIndex(), 1);
    EXPECT_TRUE(bar.downButtonPressed());
    EXPECT_NE(bar.scrollTimer(), -1);
    tick();
    EXPECT_EQ(group.topItemIndex(), 2);
    tick();
    EXPECT_EQ(group.topItemIndex(), 3);
    EXPECT_TRUE(bar.viewInfo().DownButtonBounds().isEmpty());
    EXPECT_FALSE(bar.viewInfo().UpButtonBounds().isEmpty());
    tick();
    EXPECT_EQ(group.topItemIndex(), 3);
    EXPECT_EQ(bar.scrollTimer(), -1);
    release(bar, {down.left + 3, down.top + 3});
    EXPECT_FALSE(bar.downButtonPressed());

    const platform::Rect up = bar.viewInfo().UpButtonBounds();
    press(bar, {up.left + 3, up.top + 3});
    EXPECT_EQ(group.topItemIndex(), 2);
    release(bar, {up.left + 3, up.top + 3});
    EXPECT_FALSE(bar.upButtonPressed());
    tick();
    EXPECT_EQ(group.topItemIndex(), 2) << "released: the next tick only stops the timer";
    EXPECT_EQ(bar.scrollTimer(), -1);
}

// ---- dragging

namespace {

struct DropRecord {
    TSideBarItem *source = nullptr;
    TSideBarItem *target = nullptr;
    bool isCopy = false;
    int count = 0;
};

void watchDrops(TSideBar &bar, DropRecord &record)
{
    bar.OnDragDropItem = [&record](TSideBarDragObject &, TSideBarItem *source, TSideBarItem *target, bool isCopy) {
        record = {source, target, isCopy, record.count + 1};
    };
}

void drag(TSideBar &bar, TSideBarItem &item, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    press(bar, pictureCentre(bar, item));
    moveHeld(bar, to, modifiers);
    release(bar, to, modifiers);
}

} // namespace

TEST(SideBarDrag, MovingAnItemPutsItWhereTheMarkStood)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    DropRecord drop;
    watchDrops(bar, drop);
    Clicks clicks(bar);

    TSideBarItem &emergency = menu.item(0);
    press(bar, pictureCentre(bar, emergency));
    moveHeld(bar, gapAbove(bar, menu.item(3)));
    EXPECT_EQ(bar.dropMarkItem(), &menu.item(3));
    EXPECT_EQ(bar.dropMarkPlace(), dpBefore);
    release(bar, gapAbove(bar, menu.item(3)));
    EXPECT_EQ(menu.tags(), (QList<int>{2, 3, 1, 4, 5}));
    EXPECT_EQ(drop.count, 1);
    EXPECT_EQ(drop.source, &emergency);
    EXPECT_EQ(drop.target, &emergency);
    EXPECT_FALSE(drop.isCopy);
    EXPECT_EQ(bar.dropMarkPlace(), dpNone);
    EXPECT_EQ(bar.focusedItem(), nullptr);
    EXPECT_TRUE(clicks.tags.isEmpty());

    // Below the last item.
    const QPoint end(48, bar.viewInfo().ItemInfo(&menu.item(4))->bottom() + 4);
    drag(bar, emergency, end);
    EXPECT_EQ(menu.tags(), (QList<int>{2, 3, 4, 5, 1}));

    // Upwards, into the gap above the first item.
    drag(bar, emergency, gapAbove(bar, menu.item(0)));
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5}));
}

TEST(SideBarDrag, DroppingNextToItselfChangesNothing)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    DropRecord drop;
    watchDrops(bar, drop);
    drag(bar, menu.item(2), gapAbove(bar, menu.item(2)));
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drop.count, 1);
    EXPECT_EQ(drop.target, nullptr);

    drag(bar, menu.item(2), gapAbove(bar, menu.item(3)));
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drop.target, nullptr);
}

TEST(SideBarDrag, CtrlCopiesTheItemWithItsTag)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    DropRecord drop;
    watchDrops(bar, drop);
    Clicks clicks(bar);
    drag(bar, menu.item(3), gapAbove(bar, menu.item(1)), Qt::ControlModifier);
    EXPECT_EQ(menu.tags(), (QList<int>{1, 4, 2, 3, 4, 5}));
    EXPECT_EQ(menu.item(1).caption(), menu.item(4).caption());
    EXPECT_EQ(menu.item(1).largeImage(), 5);
    EXPECT_TRUE(drop.isCopy);
    EXPECT_EQ(drop.target, &menu.item(1));
    EXPECT_EQ(drop.source, &menu.item(4));

    // The copy clicks like the original.
    press(bar, pictureCentre(bar, menu.item(1)));
    release(bar, pictureCentre(bar, menu.item(1)));
    EXPECT_EQ(clicks.tags, QList<int>{4});
}

// The press selected the dragged item; a drop handler deletes what the
// drop placed, so only the source of a copy stays selected.
TEST(SideBarDrag, AnItemTheDropHandlerDeletesIsLeftAlone)
{
    struct Drop {
        Qt::KeyboardModifiers modifiers;
        QList<int> tagsAfter;
        int selectedAfter; // index, -1 for none
    };
    for (const Drop &drop : {Drop{Qt::NoModifier, {1, 2, 3, 5}, -1}, Drop{Qt::ControlModifier, {1, 2, 3, 4, 5}, 3}}) {
        MenuBar menu;
        TSideBar &bar = menu.bar;
        bar.setCanSelected(true);
        bar.OnDragDropItem = [](TSideBarDragObject &, TSideBarItem *, TSideBarItem *target, bool) {
            if (target)
                target->collection().Delete(target->index());
        };
        drag(bar, menu.item(3), gapAbove(bar, menu.item(1)), drop.modifiers);
        EXPECT_EQ(menu.tags(), drop.tagsAfter);
        EXPECT_EQ(bar.selectedItem(), drop.selectedAfter < 0 ? nullptr : &menu.item(drop.selectedAfter));
    }
}

TEST(SideBarDrag, CtrlPressedDuringTheDragIsSeenAtOnce)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    const QPoint target = gapAbove(bar, menu.item(4));
    press(bar, pictureCentre(bar, menu.item(0)));
    moveHeld(bar, target);
    ASSERT_NE(TSideBarDragObject::Current(), nullptr);
    const qint64 moveCursor = QGuiApplication::overrideCursor()->pixmap().cacheKey();

    QWidget focused;
    QTest::keyPress(&focused, Qt::Key_Control);
    EXPECT_TRUE(TSideBarDragObject::Current()->CtrlHeld);
    EXPECT_NE(QGuiApplication::overrideCursor()->pixmap().cacheKey(), moveCursor) << "copy cursor";
    release(bar, target, Qt::ControlModifier);
    QTest::keyRelease(&focused, Qt::Key_Control);
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 1, 5}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SideBarDrag, EscapeBreaksTheDragOff)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    DropRecord drop;
    watchDrops(bar, drop);
    Clicks clicks(bar);
    press(bar, pictureCentre(bar, menu.item(0)));
    moveHeld(bar, gapAbove(bar, menu.item(3)));
    QWidget focused;
    QTest::keyPress(&focused, Qt::Key_Escape);
    EXPECT_EQ(TSideBarDragObject::Current(), nullptr);
    EXPECT_EQ(bar.dropMarkPlace(), dpNone);
    release(bar, gapAbove(bar, menu.item(3)));
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drop.count, 0);
    EXPECT_TRUE(clicks.tags.isEmpty());
}

TEST(SideBarDrag, RefusedPlacesChangeNothing)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    DropRecord drop;
    watchDrops(bar, drop);
    drag(bar, menu.item(0), {48, 10});   // the header
    drag(bar, menu.item(0), {300, 100}); // outside every bar
    EXPECT_EQ(menu.tags(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drop.count, 0);
    EXPECT_EQ(bar.dropMarkPlace(), dpNone);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SideBarDrag, ScrollZoneScrollsWhileThePointerRestsThere)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.resize(97, 300);
    TSideGroup &group = *bar.groups()[0];
    const platform::Rect area = bar.viewInfo().ItemsArea();
    press(bar, pictureCentre(bar, menu.item(0)));
    moveHeld(bar, {48, area.bottom - 5});
    EXPECT_TRUE(bar.downButtonPressed());
    EXPECT_EQ(bar.focusedItem(), nullptr);
    QTimerEvent tick(bar.scrollTimer());
    QApplication::sendEvent(&bar, &tick);
    EXPECT_EQ(group.topItemIndex(), 1);
    // Out of the zone the next tick stops the timer.
    moveHeld(bar, {48, area.top + 40});
    EXPECT_FALSE(bar.downButtonPressed());
    QTimerEvent again(bar.scrollTimer());
    QApplication::sendEvent(&bar, &again);
    EXPECT_EQ(group.topItemIndex(), 1);
    EXPECT_EQ(bar.scrollTimer(), -1);
    release(bar, {48, area.top + 40});
}

TEST(SideBarDrag, MovingIntoAnotherBarCopiesAndRemovesTheSource)
{
    MenuBar source;
    TSideBar target;
    target.setPaintStyle(sbpsXP);
    source.bar.setGeometry(0, 0, 97, 482);
    target.setGeometry(300, 0, 97, 482);
    source.bar.show();
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    DropRecord drop;
    watchDrops(target, drop);

    // The target has no group yet: the drop makes one.
    const QPoint into = target.mapTo(&target, QPoint(40, 100)) + target.pos() - source.bar.pos();
    drag(source.bar, source.item(1), into);
    EXPECT_EQ(source.tags(), (QList<int>{1, 3, 4, 5}));
    ASSERT_EQ(target.groups().count(), 1);
    ASSERT_EQ(target.groups()[0]->items().count(), 1);
    EXPECT_EQ(target.groups()[0]->items()[0]->Tag, 2);
    EXPECT_EQ(drop.count, 1);
    EXPECT_FALSE(drop.isCopy);
}

TEST(SideBarDrag, WorksThroughTheWindowSystemsInputPath)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    Clicks clicks(bar);
    QTest::mousePress(&bar, Qt::LeftButton, {}, pictureCentre(bar, menu.item(0)));
    QTest::mouseMove(&bar, gapAbove(bar, menu.item(4)));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, gapAbove(bar, menu.item(4)));
    EXPECT_EQ(menu.tags(), (QList<int>{2, 3, 4, 1, 5}));

    QTest::mouseClick(&bar, Qt::LeftButton, {}, pictureCentre(bar, menu.item(0)));
    EXPECT_EQ(clicks.tags, QList<int>{2});
}

// ---- handlers that change the bar under its feet

// Each handler deletes the item it was told about; the bar must not touch
// it afterwards (the sanitizer job sees a read of the freed item).
TEST(SideBarHandlers, AHandlerMayDeleteTheItemItHearsOf)
{
    enum Event { FocusByMove, FocusByPress, Selection };
    for (const Event event : {FocusByMove, FocusByPress, Selection}) {
        MenuBar menu;
        TSideBar &bar = menu.bar;
        bar.setShowHint(true);
        bar.setCanSelected(true);
        menu.item(1).Hint = QStringLiteral("Книжка|Ваши телефоны");
        auto deleteIt = [&bar](TSideBarItem *item) {
            if (item)
                item->collection().Delete(item->index());
        };
        const QPoint p = pictureCentre(bar, menu.item(1));
        if (event == Selection) {
            bar.OnChangeSelectedItem = [&](TSideBar &) { deleteIt(bar.selectedItem()); };
            press(bar, p);
        } else {
            bar.OnChangeFocusedItem = [&](TSideBar &) { deleteIt(bar.focusedItem()); };
            if (event == FocusByMove)
                moveFree(bar, p);
            else
                press(bar, p);
        }
        EXPECT_EQ(menu.tags(), (QList<int>{1, 3, 4, 5})) << event;
        EXPECT_EQ(bar.focusedItem(), nullptr) << event;
        EXPECT_EQ(bar.selectedItem(), nullptr) << event;
        EXPECT_FALSE(bar.clickPending()) << event;
        const QLabel *hint = bar.findChild<QLabel *>();
        EXPECT_FALSE(hint && hint->isVisible()) << event;
    }
}

// A handler that replaces itself frees the closure that runs it; the bar
// calls a copy, so the closure's own data stays readable to its end.
TEST(SideBarHandlers, AClickHandlerMayReplaceItself)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    QStringList seen;
    bar.OnItemClick = [&bar, &seen, name = QStringLiteral("первый обработчик")](TSideBar &, TSideBarItem *) {
        bar.OnItemClick = [&seen](TSideBar &, TSideBarItem *) { seen << QStringLiteral("второй"); };
        seen << name;
    };
    for (int i = 0; i < 2; ++i) {
        press(bar, pictureCentre(bar, menu.item(0)));
        release(bar, pictureCentre(bar, menu.item(0)));
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("первый обработчик"), QStringLiteral("второй")}));
}

// While an item hint shows, the bar's own hint is its long part; any of
// these takes the item hint away and gives the bar its settings back.
TEST(SideBarHint, ShowsTheLongPartAsTheBarsHintAndHidesOnCommands)
{
    enum Cause { KeyElsewhere, Shortcut, Minimised, MenuCommand };
    for (const Cause cause : {KeyElsewhere, Shortcut, Minimised, MenuCommand}) {
        MenuBar menu;
        TSideBar &bar = menu.bar;
        QMenu popup;
        QAction *command = popup.addAction(QStringLiteral("Команда"));
        bar.setItemPopupMenu(&popup);
        bar.setShowHint(true);
        bar.show();
        menu.item(1).Hint = QStringLiteral("Книжка|Ваши собственные телефоны");
        moveFree(bar, pictureCentre(bar, menu.item(1)));
        const QLabel *hint = bar.findChild<QLabel *>();
        ASSERT_TRUE(hint && hint->isVisible());
        EXPECT_EQ(bar.hint(), QStringLiteral("Ваши собственные телефоны"));
        EXPECT_FALSE(bar.showHint());

        QWidget other;
        switch (cause) {
        case KeyElsewhere: QTest::keyClick(&other, Qt::Key_A); break;
        case Shortcut: {
            QShortcutEvent event(QKeySequence(Qt::Key_F1), 0);
            QApplication::sendEvent(&other, &event);
            break;
        }
        case Minimised: bar.showMinimized(); break;
        case MenuCommand: command->trigger(); break;
        }
        EXPECT_FALSE(hint->isVisible()) << cause;
        EXPECT_TRUE(bar.hint().isEmpty()) << cause;
        EXPECT_TRUE(bar.showHint()) << cause;
    }
}
