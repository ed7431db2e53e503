// How the bar reacts to the pointer: highlight, clicks, header tracking,
// scroll buttons and pop-up menu choice. An item drag starts here and runs
// in sidebardrag.cpp.
#include "controls/sidebar/sidebar.h"

#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebarhint.h"
#include "controls/sidebar/sidebarviewinfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

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
        if (focusedItem_ != item) // the change handler deleted or moved it
            return;
        if (canSelected_)
            SetSelectedItem(item);
        if (focusedItem_ != item)
            return;
        clickPending_ = true;
        pressPoint_ = p;
    }
}

void TSideBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (TSideBarDragObject::isRunningFrom(*this)) {
        TSideBarDragObject::Current()->Move(p, event->modifiers() & Qt::ControlModifier);
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
        itemHint_->Hide();
        TSideBarDragObject::Begin(*this, focusedItem_, p, event->modifiers() & Qt::ControlModifier);
    }
}

void TSideBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (TSideBarDragObject::isRunningFrom(*this)) {
        TSideBarDragObject::Current()->Release(p, event->modifiers() & Qt::ControlModifier);
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
    if (auto handler = OnMouseEnter)
        handler(*this);
}

void TSideBar::leaveEvent(QEvent *)
{
    if (TSideBarDragObject::Current())
        SetDropMark(nullptr, dpNone);
    else
        SetFocusedItem(nullptr, false);
    if (auto handler = OnMouseLeave)
        handler(*this);
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
    else if (event->timerId() == slideTimer_.timerId())
        slideTick();
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

// ---- what an item drag over the bar changes

void TSideBar::dragScroll(bool up, bool down)
{
    if (!scrollTimer_.isActive())
        startScrollTimer();
    upButtonPressed_ = up;
    downButtonPressed_ = down;
}

void TSideBar::endDragScroll()
{
    upButtonPressed_ = downButtonPressed_ = false;
}

void TSideBar::forgetFocusedItem()
{
    focusedItem_ = nullptr;
}
