#pragma once

#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebarbackground.h"
#include "controls/sidebar/sidebaritems.h"
#include "controls/sidebar/sidebartypes.h"

#include <QBasicTimer>
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class TSideBarDragObject;
class TSideBarPainter;
class TSideBarViewInfo;
class TSideItemHint;

// A vertical navigation strip: group headers and, under the active group's
// header, that group's items as large or small pictures with captions. A
// click on an item raises OnItemClick; items can be dragged to reorder them
// or, with Ctrl, to copy them.
class TSideBar : public QWidget {
    Q_OBJECT
public:
    explicit TSideBar(QWidget *parent = nullptr);
    ~TSideBar() override;

    // ---- settings
    TSideBarBackGround &BkGround() { return bkGround_; }
    const QPixmap &BkPicture() const { return bkPicture_; }
    void SetBkPicture(const QPixmap &picture);
    QColor Color() const { return color_; }
    void SetColor(const QColor &color);
    bool CanSelected() const { return canSelected_; }
    void SetCanSelected(bool canSelected);
    const QFont &GroupFont() const { return groupFont_; }
    void SetGroupFont(const QFont &font);
    QColor GroupFontColor() const { return groupFontColor_; }
    void SetGroupFontColor(const QColor &color);
    TSideGroups &Groups() { return *groups_; }
    const TSideGroups &Groups() const { return *groups_; }
    // Counted among the visible groups only.
    int ActiveGroupIndex() const { return activeGroupIndex_; }
    void SetActiveGroupIndex(int index);
    QMenu *GroupPopupMenu() const { return groupPopupMenu_; }
    void SetGroupPopupMenu(QMenu *menu) { groupPopupMenu_ = menu; }
    int GroupHeightOffSet() const { return groupHeightOffSet_; }
    void SetGroupHeightOffSet(int offset);   // 0 to 9
    const QFont &ItemFont() const { return itemFont_; }
    void SetItemFont(const QFont &font);
    QColor ItemFontColor() const { return itemFontColor_; }
    void SetItemFontColor(const QColor &color);
    QMenu *ItemPopupMenu() const { return itemPopupMenu_; }
    void SetItemPopupMenu(QMenu *menu) { itemPopupMenu_ = menu; }
    // Image lists are referenced, not owned.
    ImageList *LargeImages() const { return largeImages_; }
    void SetLargeImages(ImageList *list);
    ImageList *SmallImages() const { return smallImages_; }
    void SetSmallImages(ImageList *list);
    TsbPaintStyle PaintStyle() const { return paintStyle_; }
    void SetPaintStyle(TsbPaintStyle style);
    int ScrollDelay() const { return scrollDelay_; }
    void SetScrollDelay(int milliseconds);   // above 0
    int SpaceHeight() const { return spaceHeight_; }
    void SetSpaceHeight(int pixels);   // above 4
    bool TransparentImages() const { return transparentImages_; }
    void SetTransparentImages(bool transparent);
    bool ShowGroups() const { return showGroups_; }
    void SetShowGroups(bool show);
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    // The pointer over the bar; a tracked header shows the group cursor.
    const QCursor &Cursor() const { return cursor_; }
    void SetCursor(const QCursor &cursor);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    // ---- run-time state
    TSideGroup *ActiveGroup() const { return activeGroup_; }
    TSideGroup *PreviousActiveGroup() const { return previousActiveGroup_; }
    TSideBarItem *FocusedItem() const { return focusedItem_; }
    bool FocusedItemPressed() const { return focusedItemPressed_; }
    TSideBarItem *SelectedItem() const { return selectedItem_; }
    TSideGroup *TrackedGroup() const { return trackedGroup_; }
    bool TrackedGroupPressed() const { return trackedGroupPressed_; }
    TSideBarItem *DropMarkItem() const { return dropMarkItem_; }
    TDropPlace DropMarkPlace() const { return dropMarkPlace_; }
    bool UpButtonPressed() const { return upButtonPressed_; }
    bool DownButtonPressed() const { return downButtonPressed_; }
    int ScrollTimer() const { return scrollTimer_.isActive() ? scrollTimer_.timerId() : -1; }
    bool ClickPending() const { return clickPending_; }
    QPoint PressPoint() const { return pressPoint_; }
    bool Destroying() const { return destroying_; }

    TSideBarPainter &Painter();
    TSideBarViewInfo &ViewInfo();

    // ---- operations
    void SetActiveGroup(TSideGroup *group);
    void SetFocusedItem(TSideBarItem *item, bool pressed);
    void SetSelectedItem(TSideBarItem *item);
    void SetTrackedGroup(TSideGroup *group, bool pressed);
    void SetDropMark(TSideBarItem *item, TDropPlace place);
    virtual void ClickItem(TSideBarItem *item);
    // Recomputes the layout and repaints the whole bar.
    void Relayout();

    int VisibleGroupCount() const;
    TSideGroup *VisibleGroup(int n) const;
    int VisibleGroupIndex(const TSideGroup *group) const;
    TSideGroup *GroupAt(QPoint p);
    TSideBarItem *ItemAt(QPoint p);

    // ---- events
    std::function<void(TSideBar *Sender, TSideBarItem *Item)> OnItemClick;
    std::function<void(TSideBar *Sender, TSideBarItem *Item)> OnDeleteItem;
    std::function<void(TSideBar *Sender)> OnChangeActiveGroup;
    std::function<void(TSideBar *Sender)> OnChangeFocusedItem;
    std::function<void(TSideBar *Sender)> OnChangeSelectedItem;
    std::function<void(TSideGroup *Sender, TSideGroup *Group)> OnChangeGroupCaption;
    std::function<void(TSideBarDragObject *Sender, TSideBarItem *Source, TSideBarItem *Target, bool IsCopy)>
        OnDragDropItem;
    std::function<void(TSideBar *Sender, TSideBarDragObject *Source, int X, int Y, TDragState State, bool &Accept)>
        OnDragOver;
    std::function<void(TSideBar *Sender)> OnMouseEnter;
    std::function<void(TSideBar *Sender)> OnMouseLeave;

protected:
    virtual std::unique_ptr<TSideBarPainter> CreatePainter();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    friend class TSideBarItem;
    friend class TSideBarItems;
    friend class TSideGroup;
    friend class TSideGroups;
    friend class TSideBarDragObject;

    // Notices from the groups and items.
    void ItemChanged(const TSideBarItem &item, bool recompute);
    void ItemsChanged(TSideGroup &group);
    void ItemDestroying(TSideBarItem &item);
    void ItemRemoved(const TSideBarItem *item, TSideGroup &group);
    void GroupAdded(TSideGroup &group);
    void GroupsChanged();
    void GroupCaptionChanged(TSideGroup &group);
    void GroupDestroying(TSideGroup &group);
    void GroupRemoved(const TSideGroup *group);

    // Repaints the items region, optionally recomputing the layout first.
    void RefreshItems(bool recompute);
    void RefreshHeader(const TSideGroup *group);
    void RefreshScrollButtons();
    void RefreshDropMark();
    template <typename T>
    void setAndRelayout(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Relayout();
    }
    void updateCursor();
    void showItemHint(TSideBarItem *item);
    void watchImageList(QPointer<ImageList> &slot, ImageList *list);
    void scrollTick();
    void startScrollTimer();

    // Item drag: runs under the bar's mouse grab from press to release.
    void BeginItemDrag(QPoint pos, Qt::KeyboardModifiers modifiers);
    void DragMove(QPoint pos, bool ctrl);
    bool DragOver(TSideBarDragObject &drag, QPoint pos, TDragState state);
    void DragLeave(TSideBarDragObject &drag);
    void EndItemDrag(TSideBar *target);
    void DropItem(TSideBarDragObject &drag);

    TSideBarBackGround bkGround_;
    QPixmap bkPicture_;
    QColor color_;
    bool canSelected_ = false;
    QFont groupFont_;
    QColor groupFontColor_;
    QFont itemFont_;
    QColor itemFontColor_;
    std::unique_ptr<TSideGroups> groups_;
    int activeGroupIndex_ = 0;
    QPointer<QMenu> groupPopupMenu_;
    QPointer<QMenu> itemPopupMenu_;
    QPointer<QMenu> chosenPopupMenu_;
    int groupHeightOffSet_ = 0;
    QPointer<ImageList> largeImages_;
    QPointer<ImageList> smallImages_;
    TsbPaintStyle paintStyle_ = sbpsFlat;
    int scrollDelay_ = 300;
    int spaceHeight_ = 7;
    bool transparentImages_ = false;
    bool showGroups_ = true;
    TDragMode dragMode_ = dmManual;
    QCursor cursor_;
    bool showHint_ = false;

    TSideGroup *activeGroup_ = nullptr;
    TSideGroup *previousActiveGroup_ = nullptr;
    TSideBarItem *focusedItem_ = nullptr;
    bool focusedItemPressed_ = false;
    TSideBarItem *selectedItem_ = nullptr;
    TSideGroup *trackedGroup_ = nullptr;
    bool trackedGroupPressed_ = false;
    TSideBarItem *dropMarkItem_ = nullptr;
    TDropPlace dropMarkPlace_ = dpNone;
    TSideBarItem *droppedItem_ = nullptr;   // the result of a drop while its handler runs
    bool upButtonPressed_ = false;
    bool downButtonPressed_ = false;
    QBasicTimer scrollTimer_;
    bool clickPending_ = false;
    QPoint pressPoint_;
    std::unique_ptr<TSideBarPainter> painter_;
    std::unique_ptr<TSideItemHint> itemHint_;
    bool destroying_ = false;
};
