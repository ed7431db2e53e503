#include "controls/sidebar/sidebardrag.h"

#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebarcursors.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <memory>

namespace {

std::unique_ptr<TSideBarDragObject> &running()
{
    static std::unique_ptr<TSideBarDragObject> drag;
    return drag;
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
        drag_.cancel(); // frees the drag and this watch: touch nothing after it
        return true;
    }
    return false;
}

TSideBarDragObject::TSideBarDragObject(TSideBar &source, TSideBarItem *item) : SourceItem(item), source_(source) {}

TSideBarDragObject &TSideBarDragObject::Begin(TSideBar &source, TSideBarItem *item)
{
    running().reset(new TSideBarDragObject(source, item));
    return *running();
}

TSideBarDragObject *TSideBarDragObject::Current()
{
    return running().get();
}

void TSideBarDragObject::Finish()
{
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
    if (held == CtrlHeld)
        return;
    CtrlHeld = held;
    source_.DragMove(LastPos, held);
}

void TSideBarDragObject::cancel()
{
    source_.EndItemDrag(nullptr);
}
