#include "controls/sidebar/sidebardrag.h"

#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebarcursors.h"
#include "controls/sidebar/sidebarviewinfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<TSideBarDragObject> &running()
{
    static std::unique_ptr<TSideBarDragObject> drag;
    return drag;
}

SideBarDragSite &site(TSideBar &bar)
{
    return bar;
}

} // namespace

CtrlWatch::CtrlWatch(TSideBarDragObject &drag) : drag_(drag)
{
    QCoreApplication::instance()->installEventFilter(this);
}

CtrlWatch::~CtrlWatch()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool CtrlWatch::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Control) {
        drag_.ctrlChanged(event->type() == QEvent::KeyPress);
        return false;
    }
    if (key->key() == Qt::Key_Escape && event->type() == QEvent::KeyPress) {
        drag_.Cancel(); // frees the drag and this watch: touch nothing after it
        return true;
    }
    return false;
}

// ---- life of the one drag

TSideBarDragObject::TSideBarDragObject(TSideBar &source, TSideBarItem *item) : SourceItem(item), source_(source) {}

TSideBarDragObject::~TSideBarDragObject()
{
    QGuiApplication::restoreOverrideCursor();
}

void TSideBarDragObject::Begin(TSideBar &source, TSideBarItem *item, QPoint pos, bool ctrl)
{
    running().reset(new TSideBarDragObject(source, item));
    QGuiApplication::setOverrideCursor(running()->DragCursor());
    running()->Move(pos, ctrl);
}

TSideBarDragObject *TSideBarDragObject::Current()
{
    return running().get();
}

bool TSideBarDragObject::isRunningFrom(const TSideBar &bar)
{
    return running() && &running()->source_ == &bar;
}

void TSideBarDragObject::ItemDestroying(const TSideBarItem &item)
{
    TSideBarDragObject *drag = Current();
    if (!drag)
        return;
    if (drag->SourceItem == &item)
        drag->SourceItem = nullptr;
    if (drag->droppedItem_ == &item)
        drag->droppedItem_ = nullptr;
}

void TSideBarDragObject::BarDestroying(const TSideBar &bar)
{
    if (isRunningFrom(bar))
        running().reset();
}

QCursor TSideBarDragObject::DragCursor()
{
    const bool showDelete = ShowDeleteCursor;
    ShowDeleteCursor = false;
    if (!Accepted)
        return QCursor(Qt::ForbiddenCursor);
    if (showDelete)
        return SideBarCursor(crSideBarDragDelete);
    if (CtrlHeld)
        return SideBarCursor(crSideBarDragCopy);
    if (SourceItem || !Target)
        return SideBarCursor(crSideBarDrag);
    return SideBarCursor(crSideBarDragCopy);
}

void TSideBarDragObject::ctrlChanged(bool held)
{
    if (held != CtrlHeld)
        Move(LastPos, held);
}

// ---- the pointer over the bars

void TSideBarDragObject::Move(QPoint pos, bool ctrl)
{
    LastPos = pos;
    CtrlHeld = ctrl;
    const QPoint global = source_.mapToGlobal(pos);
    TSideBar *target =
        source_.rect().contains(pos) ? &source_ : qobject_cast<TSideBar *>(QApplication::widgetAt(global));
    TDragState state = dsDragMove;
    if (target != Target) {
        if (Target)
            dragLeave(*Target);
        Target = target;
        state = dsDragEnter;
    }
    Accepted = target && dragOver(*target, target->mapFromGlobal(global), state);
    QGuiApplication::changeOverrideCursor(DragCursor());
}

void TSideBarDragObject::Release(QPoint pos, bool ctrl)
{
    Move(pos, ctrl);
    end(Accepted ? Target.data() : nullptr);
}

void TSideBarDragObject::Cancel()
{
    end(nullptr);
}

bool TSideBarDragObject::dragOver(TSideBar &bar, QPoint pos, TDragState state)
{
    bool accept = false;
    auto answer = [&] {
        if (auto handler = bar.OnDragOver)
            handler(bar, this, pos.x(), pos.y(), state, accept);
        return accept;
    };
    if (!bar.activeGroup()) {
        accept = true; // the drop makes a group for the item
        return answer();
    }
    if (TSideGroup *group = bar.groupAt(pos)) {
        bar.SetActiveGroup(group);
        return answer();
    }

    const TSideBarViewInfo &layout = bar.viewInfo();
    const platform::Rect &area = layout.ItemsArea();
    const int y = pos.y();
    const bool up = !layout.UpButtonBounds().isEmpty() && area.top < y && y < area.top + bar.spaceHeight() + 16;
    const bool down =
        !up && !layout.DownButtonBounds().isEmpty() && area.bottom - bar.spaceHeight() - 16 < y && y < area.bottom;
    site(bar).dragScroll(up, down);
    if (up || down) {
        bar.SetFocusedItem(nullptr, false);
        return answer();
    }

    bar.SetFocusedItem(bar.itemAt(pos), false);
    const TSideDropPlace place = bar.viewInfo().dropPlaceAt(pos);
    bar.SetDropMark(place.Item, place.Place);
    accept = !(place.Place == dpNone && !place.Item);
    return answer();
}

void TSideBarDragObject::dragLeave(TSideBar &bar)
{
    bar.SetDropMark(nullptr, dpNone);
    site(bar).endDragScroll();
    bool accept = false;
    if (auto handler = bar.OnDragOver)
        handler(bar, this, LastPos.x(), LastPos.y(), dsDragLeave, accept);
}

// ---- the drop

void TSideBarDragObject::end(TSideBar *target)
{
    // A bar that showed the mark but does not take the drop loses the mark.
    if (Target && Target != target)
        dragLeave(*Target);
    if (target)
        drop(*target);
    else
        source_.Relayout();
    running().reset();
}

void TSideBarDragObject::drop(TSideBar &target)
{
    if (DropCancelled) {
        target.Relayout();
        return;
    }
    if (!target.activeGroup())
        target.groups().Add();
    TSideGroup &group = *target.activeGroup();
    TSideBarItem *source = SourceItem;
    const bool copy = CtrlHeld;
    const TDropPlace place = target.dropMarkPlace();

    int k = group.items().count() == 0 ? 0 : -1;
    if (const TSideItemViewInfo *info = target.viewInfo().ItemInfo(target.dropMarkItem()))
        k = info->Item->index();
    TSideBarItem *result = nullptr;
    bool created = false;
    if (k != -1 && source) {
        if (!copy && &source->group() == &group) {
            // The mark stands in the gap above item k; taking the item out
            // first shifts k up by one when it came from above.
            const int index = place == dpBefore && source->index() < k ? k - 1 : k;
            if (index != source->index()) {
                result = source;
                result->setIndex(index);
            }
        } else {
            result = &group.items().Add();
            created = true;
            result->Assign(*source);
            result->setIndex(place == dpAfter ? k + 1 : k);
        }
    }
    target.SetDropMark(nullptr, dpNone);
    droppedItem_ = result; // the handler may delete it
    if (auto handler = target.OnDragDropItem)
        handler(*this, source, result, copy);
    if (droppedItem_)
        target.SetSelectedItem(std::exchange(droppedItem_, nullptr));
    // Moving into another group or bar is a copy without the original.
    if (created && !copy && SourceItem)
        SourceItem->collection().Delete(SourceItem->index());
    site(target).forgetFocusedItem();
    target.Relayout();
}
