#pragma once

#include "controls/sidebar/sidebartypes.h"

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QPointer>

class TSideBar;
class TSideBarItem;
class TSideBarDragObject;

// What an item drag needs of the bars it passes over, beyond their public
// operations. A bar implements it privately; only the drag calls it.
class SideBarDragSite {
public:
    // The pointer rests over the items during a drag: the scroll timer runs,
    // and scrolls while the pointer is in the up or down zone.
    virtual void dragScroll(bool up, bool down) = 0;
    // The drag left the bar: no zone scrolls any more.
    virtual void endDragScroll() = 0;
    // After a drop the highlight goes without a change notice.
    virtual void forgetFocusedItem() = 0;

protected:
    ~SideBarDragSite() = default;
};

// Watches the keyboard for the whole application while an item is dragged:
// the focused control gets the keys, not the bar. Ctrl changes the drag at
// once (move or copy) and is passed on; Escape breaks the drag off.
class CtrlWatch : public QObject {
    Q_OBJECT
public:
    explicit CtrlWatch(TSideBarDragObject &drag);
    ~CtrlWatch() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TSideBarDragObject &drag_;
};

// The one item drag that may run at a time: its state, the drag over the
// bars under the pointer and the drop. It runs under the source bar's mouse
// grab from the move that starts it to the release that drops.
class TSideBarDragObject {
public:
    // Starts dragging `item` out of `source` with the pointer at `pos`, in
    // the source's coordinates; replaces any running drag.
    static void Begin(TSideBar &source, TSideBarItem *item, QPoint pos, bool ctrl);
    static TSideBarDragObject *Current();
    static bool isRunningFrom(const TSideBar &bar);
    // The item is being destroyed: the drag forgets it.
    static void ItemDestroying(const TSideBarItem &item);
    // The bar is being destroyed: a drag out of it ends without a drop.
    static void BarDestroying(const TSideBar &bar);

    ~TSideBarDragObject();

    // The pointer moved to `pos` (source coordinates) with Ctrl held or not.
    void Move(QPoint pos, bool ctrl);
    // The button was released at `pos`: drops where the drag was accepted,
    // and frees the drag.
    void Release(QPoint pos, bool ctrl);
    // Breaks the drag off without a drop and frees it.
    void Cancel();

    TSideBar &sourceBar() const { return source_; }
    TSideBarItem *SourceItem;
    bool ShowDeleteCursor = false;
    bool DropCancelled = false;
    bool CtrlHeld = false;

    // The bar under the pointer at the last move, and whether it accepted.
    QPointer<TSideBar> Target;
    bool Accepted = false;
    // The last pointer position, in the source bar's coordinates.
    QPoint LastPos;

    // The pointer shape for the current state; clears ShowDeleteCursor.
    QCursor DragCursor();

private:
    friend class CtrlWatch;
    TSideBarDragObject(TSideBar &source, TSideBarItem *item);
    void ctrlChanged(bool held);
    bool dragOver(TSideBar &bar, QPoint pos, TDragState state);
    void dragLeave(TSideBar &bar);
    void end(TSideBar *target);
    void drop(TSideBar &target);

    TSideBar &source_;
    TSideBarItem *droppedItem_ = nullptr; // the result of a drop while its handler runs
    CtrlWatch watch_{*this};
};
