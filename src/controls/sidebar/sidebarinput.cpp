// How the bar reacts to the pointer: highlight, clicks, header tracking,
// scroll buttons, pop-up menu choice and item dragging.
#include "controls/sidebar/sidebar.h"

#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebarhint.h"
#include "controls/sidebar/sidebarviewinfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include <utility>

namespace {

bool isRunningDragOf(const TSideBar *bar)
{
    const TSideBarDragObject *drag = TSideBarDragObject::Current();
    return drag && &drag->sourceBar() == bar;
}

} // namespace

bool TSideBar::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        // The item hint stands in for the ordinary tooltip while it shows.
        if (itemHint_->isShowing())
            return true;
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: itemHint_->Hide(); break;
    default: break;
    }
    return QWidget::event(event);
}

void TSideBar::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        chosenPopupMenu_ = itemAt(p) ? itemPopupMenu_ : nullptr;
        if (!chosenPopupMenu_)
            chosenPopupMenu_ = groupPopupMenu_;
    }
    if (event->button() != Qt::LeftButton)
        return;

    const TSideBarViewInfo &layout = viewInfo();
    if (TSideGroup *group = layout.groupAt(p)) {
        SetTrackedGroup(group, true);
    } else if (layout.UpButtonBounds().contains(p)) {
        upButtonPressed_ = true;
        startScrollTimer();
        activeGroup_->setTopItemIndex(activeGroup_->topItemIndex() - 1);
    } else if (layout.DownButtonBounds().contains(p)) {
        downButtonPressed_ = true;
        startScrollTimer();
        activeGroup_->setTopItemIndex(activeGroup_->topItemIndex() + 1);
    } else if (TSideBarItem *item = layout.itemAt(p)) {
        SetFocusedItem(item, true);
        if (canSelected_)
            SetSelectedItem(item);
        clickPending_ = true;
        pressPoint_ = p;
    }
}

void TSideBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (isRunningDragOf(this)) {
        DragMove(p, event->modifiers() & Qt::ControlModifier);
        return;
    }

    TSideGroup *group = groupAt(p);
    if (!(event->buttons() & Qt::LeftButton)) {
        SetTrackedGroup(group, false);
    } else if (group != trackedGroup_) {
        // Dragged off the held header: it stays tracked but no longer pressed.
        if (trackedGroup_ && trackedGroupPressed_) {
            trackedGroupPressed_ = false;
            RefreshHeader(trackedGroup_);
        }
    } else if (group) {
        SetTrackedGroup(group, true);
    }

    TSideBarItem *previous = focusedItem_;
    TSideBarItem *item = itemAt(p);
    if (!clickPending_)
        SetFocusedItem(item, false);

    if (dragMode_ != dmAutomatic || !showGroups_ || !clickPending_)
        return;
    const QPoint press = pressPoint_;
    const bool pastThreshold =
        p.x() < press.x() - 5 || p.x() > press.x() + 5 || p.y() < press.y() - 5 || p.y() > press.y() + 5;
    if ((!item && previous) || (item && pastThreshold)) {
        if (!focusedItem_)
            focusedItem_ = previous;
        clickPending_ = false;
        BeginItemDrag(p, event->modifiers());
    }
}

void TSideBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (isRunningDragOf(this)) {
        TSideBarDragObject *drag = TSideBarDragObject::Current();
        DragMove(p, event->modifiers() & Qt::ControlModifier);
        EndItemDrag(drag->Accepted ? drag->Target.data() : nullptr);
        return;
    }

    if (TSideGroup *tracked = trackedGroup_) {
        SetTrackedGroup(tracked, false);
        if (groupAt(p) == tracked) {
            SetActiveGroup(tracked);
        } else {
            trackedGroup_ = nullptr;
            RefreshHeader(tracked);
            updateCursor();
        }
    }
    if (upButtonPressed_ || downButtonPressed_) {
        upButtonPressed_ = downButtonPressed_ = false;
        RefreshScrollButtons();
        return;
    }
    if (clickPending_) {
        clickPending_ = false;
        if (TSideBarItem *item = itemAt(p))
            ClickItem(item);
    }
}

void TSideBar::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *menu = chosenPopupMenu_)
        menu->popup(event->globalPos());
    chosenPopupMenu_ = nullptr;
}

void TSideBar::enterEvent(QEnterEvent *)
{
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TSideBar::leaveEvent(QEvent *)
{
    if (TSideBarDragObject::Current())
        SetDropMark(nullptr, dpNone);
    else
        SetFocusedItem(nullptr, false);
    if (OnMouseLeave)
        OnMouseLeave(*this);
    if (TSideGroup *tracked = trackedGroup_) {
        trackedGroup_ = nullptr;
        trackedGroupPressed_ = false;
        RefreshHeader(tracked);
        updateCursor();
    }
}

// ---- scrolling

void TSideBar::startScrollTimer()
{
    scrollTimer_.start(scrollDelay_, this);
}

void TSideBar::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == scrollTimer_.timerId())
        scrollTick();
    else
        QWidget::timerEvent(event);
}

void TSideBar::scrollTick()
{
    const TSideBarViewInfo &layout = viewInfo();
    upButtonPressed_ = upButtonPressed_ && !layout.UpButtonBounds().isEmpty();
    downButtonPressed_ = downButtonPressed_ && !layout.DownButtonBounds().isEmpty();
    if (!upButtonPressed_ && !downButtonPressed_) {
        scrollTimer_.stop();
        return;
    }
    // The scroll moves the items under the mark; it is set again by the next move.
    dropMarkItem_ = nullptr;
    dropMarkPlace_ = dpNone;
    if (upButtonPressed_)
        activeGroup_->setTopItemIndex(activeGroup_->topItemIndex() - 1);
    if (downButtonPressed_)
        activeGroup_->setTopItemIndex(activeGroup_->topItemIndex() + 1);
}

// ---- item drag

void TSideBar::BeginItemDrag(QPoint pos, Qt::KeyboardModifiers modifiers)
{
    itemHint_->Hide();
    TSideBarDragObject &drag = TSideBarDragObject::Begin(*this, focusedItem_);
    QGuiApplication::setOverrideCursor(drag.DragCursor());
    DragMove(pos, modifiers & Qt::ControlModifier);
}

void TSideBar::DragMove(QPoint pos, bool ctrl)
{
    TSideBarDragObject *drag = TSideBarDragObject::Current();
    drag->LastPos = pos;
    drag->CtrlHeld = ctrl;
    const QPoint global = mapToGlobal(pos);
    TSideBar *target = rect().contains(pos) ? this : qobject_cast<TSideBar *>(QApplication::widgetAt(global));
    TDragState state = dsDragMove;
    if (target != drag->Target) {
        if (drag->Target)
            drag->Target->DragLeave(*drag);
        drag->Target = target;
        state = dsDragEnter;
    }
    drag->Accepted = target && target->DragOver(*drag, target->mapFromGlobal(global), state);
    QGuiApplication::changeOverrideCursor(drag->DragCursor());
}

bool TSideBar::DragOver(TSideBarDragObject &drag, QPoint pos, TDragState state)
{
    bool accept = false;
    auto answer = [&] {
        if (OnDragOver)
            OnDragOver(*this, &drag, pos.x(), pos.y(), state, accept);
        return accept;
    };
    if (!activeGroup_) {
        accept = true; // the drop makes a group for the item
        return answer();
    }
    if (TSideGroup *group = groupAt(pos)) {
        SetActiveGroup(group);
        return answer();
    }

    if (!scrollTimer_.isActive())
        startScrollTimer();
    upButtonPressed_ = downButtonPressed_ = false;
    const TSideBarViewInfo &layout = viewInfo();
    const platform::Rect &area = layout.ItemsArea();
    const int y = pos.y();
    if (!layout.UpButtonBounds().isEmpty() && area.top < y && y < area.top + spaceHeight_ + 16) {
        upButtonPressed_ = true;
        SetFocusedItem(nullptr, false);
        return answer();
    }
    if (!layout.DownButtonBounds().isEmpty() && area.bottom - spaceHeight_ - 16 < y && y < area.bottom) {
        downButtonPressed_ = true;
        SetFocusedItem(nullptr, false);
        return answer();
    }

    SetFocusedItem(layout.itemAt(pos), false);
    const TSideDropPlace place = layout.dropPlaceAt(pos);
    SetDropMark(place.Item, place.Place);
    accept = !(place.Place == dpNone && !place.Item);
    return answer();
}

void TSideBar::DragLeave(TSideBarDragObject &drag)
{
    SetDropMark(nullptr, dpNone);
    upButtonPressed_ = downButtonPressed_ = false;
    bool accept = false;
    if (OnDragOver)
        OnDragOver(*this, &drag, drag.LastPos.x(), drag.LastPos.y(), dsDragLeave, accept);
}

void TSideBar::EndItemDrag(TSideBar *target)
{
    TSideBarDragObject *drag = TSideBarDragObject::Current();
    // A bar that showed the mark but does not take the drop loses the mark.
    if (drag->Target && drag->Target != target)
        drag->Target->DragLeave(*drag);
    if (target)
        target->DropItem(*drag);
    else
        Relayout();
    QGuiApplication::restoreOverrideCursor();
    TSideBarDragObject::Finish();
}

void TSideBar::DropItem(TSideBarDragObject &drag)
{
    if (drag.DropCancelled) {
        Relayout();
        return;
    }
    if (!activeGroup_)
        groups_->Add();
    TSideGroup &group = *activeGroup_;
    TSideBarItem *source = drag.SourceItem;
    const bool copy = drag.CtrlHeld;

    int k = group.items().count() == 0 ? 0 : -1;
    if (const TSideItemViewInfo *info = viewInfo().ItemInfo(dropMarkItem_))
        k = info->Item->index();
    TSideBarItem *result = nullptr;
    bool created = false;
    if (k != -1 && source) {
        if (!copy && &source->group() == &group) {
            // The mark stands in the gap above item k; taking the item out
            // first shifts k up by one when it came from above.
            const int index = dropMarkPlace_ == dpBefore && source->index() < k ? k - 1 : k;
            if (index != source->index()) {
                result = source;
                result->setIndex(index);
            }
        } else {
            result = &group.items().Add();
            created = true;
            result->Assign(*source);
            result->setIndex(dropMarkPlace_ == dpAfter ? k + 1 : k);
        }
    }
    dropMarkItem_ = nullptr;
    dropMarkPlace_ = dpNone;
    droppedItem_ = result; // the handler may delete it
    if (OnDragDropItem)
        OnDragDropItem(drag, source, result, copy);
    if (droppedItem_)
        SetSelectedItem(std::exchange(droppedItem_, nullptr));
    // Moving into another group or bar is a copy without the original.
    if (created && !copy && drag.SourceItem)
        drag.SourceItem->collection().Delete(drag.SourceItem->index());
    focusedItem_ = nullptr;
    Relayout();
}
