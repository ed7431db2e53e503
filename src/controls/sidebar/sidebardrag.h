#pragma once

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QPointer>

class TSideBar;
class TSideBarItem;
class TSideBarDragObject;

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

// The state of the one item drag that may run at a time.
class TSideBarDragObject {
public:
    // Starts the drag of `item` out of `source`; replaces any running one.
    static TSideBarDragObject &Begin(TSideBar &source, TSideBarItem *item);
    static TSideBarDragObject *Current();
    // Frees the running drag.
    static void Finish();

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
    void cancel();

    TSideBar &source_;
    CtrlWatch watch_{*this};
};
