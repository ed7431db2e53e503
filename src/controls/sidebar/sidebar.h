#pragma once

#include "controls/sidebar/groupswitchslide.h"
#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebarbackground.h"
#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebaritems.h"
#include "controls/sidebar/sidebartypes.h"
#include "platform/rect.h"

#include "platform/colors.h"
#include <QBasicTimer>
#include <QCursor>
#include <QElapsedTimer>
#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class TSideBarPainter;
class TSideBarViewInfo;
class TSideItemHint;

// A vertical navigation strip: group headers and, under the active group's
// header, that group's items as large or small pictures with captions. A
// click on an item raises OnItemClick; items can be dragged to reorder them
// or, with Ctrl, to copy them.
class TSideBar : public QWidget, public SideBarModelObserver, public SideBarDragSite {
    Q_OBJECT
    Q_PROPERTY(QPixmap BkPicture READ bkPicture WRITE setBkPicture)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(bool CanSelected READ canSelected WRITE setCanSelected)
    Q_PROPERTY(QFont GroupFont READ groupFont WRITE setGroupFont)
    Q_PROPERTY(int ActiveGroupIndex READ activeGroupIndex WRITE setActiveGroupIndex)
    Q_PROPERTY(QMenu *GroupPopupMenu READ groupPopupMenu WRITE setGroupPopupMenu)
    Q_PROPERTY(int GroupHeightOffSet READ groupHeightOffSet WRITE setGroupHeightOffSet)
    Q_PROPERTY(QFont ItemFont READ itemFont WRITE setItemFont)
    Q_PROPERTY(QMenu *ItemPopupMenu READ itemPopupMenu WRITE setItemPopupMenu)
    Q_PROPERTY(ImageList *LargeImages READ largeImages WRITE setLargeImages)
    Q_PROPERTY(TsbPaintStyle PaintStyle READ paintStyle WRITE setPaintStyle)
    Q_PROPERTY(ImageList *SmallImages READ smallImages WRITE setSmallImages)
    Q_PROPERTY(int ScrollDelay READ scrollDelay WRITE setScrollDelay)
    Q_PROPERTY(int SpaceHeight READ spaceHeight WRITE setSpaceHeight)
    Q_PROPERTY(bool TransparentImages READ transparentImages WRITE setTransparentImages)
    Q_PROPERTY(bool ShowGroups READ showGroups WRITE setShowGroups)
    Q_PROPERTY(TDragMode DragMode READ dragMode WRITE setDragMode)
    Q_PROPERTY(QCursor Cursor READ barCursor WRITE setBarCursor)
    Q_PROPERTY(bool ShowHint READ showHint WRITE setShowHint)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(TBorderStyle BorderStyle READ borderStyle WRITE setBorderStyle)
public:
    explicit TSideBar(QWidget *parent = nullptr);
    ~TSideBar() override;

    // ---- settings
    TSideBarBackGround &bkGround() { return bkGround_; }
    const QPixmap &bkPicture() const { return bkPicture_; }
    void setBkPicture(const QPixmap &picture);
    QColor color() const { return color_; }
    void setColor(const platform::colors::Color &color);
    bool canSelected() const { return canSelected_; }
    void setCanSelected(bool canSelected);
    const QFont &groupFont() const { return groupFont_; }
    void setGroupFont(const QFont &font);
    QColor groupFontColor() const { return groupFontColor_; }
    void setGroupFontColor(const platform::colors::Color &color);
    TSideGroups &groups() { return *groups_; }
    const TSideGroups &groups() const { return *groups_; }
    // Copies the groups with their items; the first visible group becomes active.
    void setGroups(const TSideGroups &groups);
    // Counted among the visible groups only.
    int activeGroupIndex() const { return activeGroupIndex_; }
    void setActiveGroupIndex(int index);
    QMenu *groupPopupMenu() const { return groupPopupMenu_; }
    void setGroupPopupMenu(QMenu *menu);
    int groupHeightOffSet() const { return groupHeightOffSet_; }
    void setGroupHeightOffSet(int offset); // 0 to 9
    const QFont &itemFont() const { return itemFont_; }
    void setItemFont(const QFont &font);
    QColor itemFontColor() const { return itemFontColor_; }
    void setItemFontColor(const platform::colors::Color &color);
    QMenu *itemPopupMenu() const { return itemPopupMenu_; }
    void setItemPopupMenu(QMenu *menu);
    // Image lists are referenced, not owned.
    ImageList *largeImages() const { return largeImages_; }
    void setLargeImages(ImageList *list);
    ImageList *smallImages() const { return smallImages_; }
    void setSmallImages(ImageList *list);
    TsbPaintStyle paintStyle() const { return paintStyle_; }
    void setPaintStyle(TsbPaintStyle style);
    int scrollDelay() const { return scrollDelay_; }
    void setScrollDelay(int milliseconds); // above 0
    int spaceHeight() const { return spaceHeight_; }
    void setSpaceHeight(int pixels); // above 4
    bool transparentImages() const { return transparentImages_; }
    void setTransparentImages(bool transparent);
    bool showGroups() const { return showGroups_; }
    void setShowGroups(bool show);
    TDragMode dragMode() const { return dragMode_; }
    void setDragMode(TDragMode mode) { dragMode_ = mode; }
    // The pointer over the bar; a tracked header shows the group cursor. Kept
    // apart from QWidget's cursor, which the bar switches between the two.
    const QCursor &barCursor() const { return cursor_; }
    void setBarCursor(const QCursor &cursor);
    // Item hints are shown only while ShowHint is set. While one shows, the
    // bar's own hint is the item hint's long part and ShowHint is off, so the
    // ordinary tooltip stays away; both come back when it hides.
    bool showHint() const { return showHint_; }
    void setShowHint(bool show);
    QString hint() const { return toolTip(); }
    void setHint(const QString &hint) { setToolTip(hint); }
    // Forced back to none whenever PaintStyle changes.
    TBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle style);
    // The area inside the border, where everything else is laid out.
    platform::Rect clientBounds() const;

    // While the bar is being set up, changes of its groups and items are not
    // laid out and groups do not activate themselves; at the end the first
    // visible group becomes active when none is.
    void beginLoading();
    void endLoading();
    bool isLoading() const { return loading_; }

    // ---- run-time state
    TSideGroup *activeGroup() const { return activeGroup_; }
    TSideGroup *previousActiveGroup() const { return previousActiveGroup_; }
    TSideBarItem *focusedItem() const { return focusedItem_; }
    bool focusedItemPressed() const { return focusedItemPressed_; }
    TSideBarItem *selectedItem() const { return selectedItem_; }
    TSideGroup *trackedGroup() const { return trackedGroup_; }
    bool trackedGroupPressed() const { return trackedGroupPressed_; }
    TSideBarItem *dropMarkItem() const { return dropMarkItem_; }
    TDropPlace dropMarkPlace() const { return dropMarkPlace_; }
    bool upButtonPressed() const { return upButtonPressed_; }
    bool downButtonPressed() const { return downButtonPressed_; }
    int scrollTimer() const { return scrollTimer_.isActive() ? scrollTimer_.timerId() : -1; }
    bool clickPending() const { return clickPending_; }
    QPoint pressPoint() const { return pressPoint_; }
    bool isDestroying() const { return destroying_; }

    TSideBarPainter &painter();
    TSideBarViewInfo &viewInfo();

    // ---- operations
    void SetActiveGroup(TSideGroup *group);
    void SetFocusedItem(TSideBarItem *item, bool pressed);
    void SetSelectedItem(TSideBarItem *item);
    void SetTrackedGroup(TSideGroup *group, bool pressed);
    void SetDropMark(TSideBarItem *item, TDropPlace place);
    virtual void ClickItem(TSideBarItem *item);
    // Recomputes the layout and repaints the whole bar.
    void Relayout();

    int visibleGroupCount() const;
    TSideGroup *visibleGroup(int n) const;
    int visibleGroupIndex(const TSideGroup *group) const;
    TSideGroup *groupAt(QPoint p);
    TSideBarItem *itemAt(QPoint p);

    // ---- events
    std::function<void(TSideBar &sender, TSideBarItem *item)> OnItemClick;
    std::function<void(TSideBar &sender, TSideBarItem *item)> OnDeleteItem;
    std::function<void(TSideBar &sender)> OnChangeActiveGroup;
    std::function<void(TSideBar &sender)> OnChangeFocusedItem;
    std::function<void(TSideBar &sender)> OnChangeSelectedItem;
    std::function<void(TSideGroup &sender, TSideGroup *group)> OnChangeGroupCaption;
    std::function<void(TSideBarDragObject &sender, TSideBarItem *source, TSideBarItem *target, bool isCopy)>
        OnDragDropItem;
    std::function<void(TSideBar &sender, TSideBarDragObject *source, int x, int y, TDragState state, bool &accept)>
        OnDragOver;
    std::function<void(TSideBar &sender)> OnMouseEnter;
    std::function<void(TSideBar &sender)> OnMouseLeave;

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
    void hideEvent(QHideEvent *event) override;

private:
    // SideBarModelObserver: notices from the groups and items.
    void ItemChanged(const TSideBarItem &item, bool recompute) override;
    void ItemsChanged(TSideGroup &group) override;
    void ItemDestroying(TSideBarItem &item) override;
    void ItemRemoved(const TSideBarItem *item, TSideGroup &group) override;
    void GroupAdded(TSideGroup &group) override;
    void GroupsChanged() override;
    void GroupCaptionChanged(TSideGroup &group) override;
    void GroupDestroying(TSideGroup &group) override;
    void GroupRemoved(const TSideGroup *group) override;

    // SideBarDragSite: what an item drag over the bar changes.
    void dragScroll(bool up, bool down) override;
    void endDragScroll() override;
    void forgetFocusedItem() override;

    // Repaints the items region, optionally recomputing the layout first.
    void RefreshItems(bool recompute);
    void RefreshHeader(const TSideGroup *group);
    void RefreshScrollButtons();
    void RefreshDropMark();
    template <typename T> void setAndRelayout(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Relayout();
    }
    void updateCursor();
    void showItemHint(TSideBarItem *item);
    void itemHintHidden();
    bool deferredWhileLoading();
    void keepPictureForSlide(const TSideGroup *next);
    void startSlide();
    void stopSlide();
    void slideTick();
    void watchImageList(QPointer<ImageList> &slot, ImageList *list);
    void watchPopupMenu(QPointer<QMenu> &slot, QMenu *menu);
    void scrollTick();
    void startScrollTimer();

    TSideBarBackGround bkGround_;
    QPixmap bkPicture_;
    platform::colors::Color color_;
    bool canSelected_ = false;
    QFont groupFont_;
    platform::colors::Color groupFontColor_;
    QFont itemFont_;
    platform::colors::Color itemFontColor_;
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
    TBorderStyle borderStyle_ = bsNone;
    bool loading_ = false;

    TSideGroup *activeGroup_ = nullptr;
    TSideGroup *previousActiveGroup_ = nullptr;
    TSideBarItem *focusedItem_ = nullptr;
    bool focusedItemPressed_ = false;
    TSideBarItem *selectedItem_ = nullptr;
    TSideGroup *trackedGroup_ = nullptr;
    bool trackedGroupPressed_ = false;
    TSideBarItem *dropMarkItem_ = nullptr;
    TDropPlace dropMarkPlace_ = dpNone;
    bool upButtonPressed_ = false;
    bool downButtonPressed_ = false;
    QBasicTimer scrollTimer_;
    bool clickPending_ = false;
    QPoint pressPoint_;
    std::unique_ptr<TSideBarPainter> painter_;
    std::unique_ptr<TSideItemHint> itemHint_;
    // The group-switch slide: the picture before the switch, kept while the
    // bar is shown, and the slide of it that runs.
    QPixmap pictureBeforeSwitch_;
    std::optional<GroupSwitchSlide> slide_;
    static constexpr int SlideInterval = 5; // milliseconds between steps
    QBasicTimer slideTimer_;
    QElapsedTimer slideClock_;
    bool destroying_ = false;
};
