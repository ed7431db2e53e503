#include "controls/sidebar/sidebar.h"

#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebaraccessible.h"
#include "controls/sidebar/sidebarcursors.h"
#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebarhint.h"
#include "controls/sidebar/sidebarpainter.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/fonts.h"

#include <QGuiApplication>
#include <QPainter>

namespace colors = platform::colors;

TSideBar::TSideBar(QWidget *parent)
    : QWidget(parent), color_(colors::clGrayText), groupFont_(platform::defaultFont()),
      groupFontColor_(colors::clWindowText), itemFont_(platform::defaultFont()), itemFontColor_(colors::clWindow),
      groups_(std::make_unique<TSideGroups>(*this)), itemHint_(std::make_unique<TSideItemHint>(this))
{
    platform::registerAccessible<TSideBar>(createSideBarAccessible);
    reachSideBarItems(this);
    resize(150, 300);
    setMouseTracking(true);
    // Painting covers every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    bkGround_.OnChange = [this] { Relayout(); };
    itemHint_->OnHidden = [this] { itemHintHidden(); };
    updateCursor();
}

TSideBar::~TSideBar()
{
    destroying_ = true;
    TSideBarDragObject::BarDestroying(*this);
    groups_->Clear();
}

// ---- settings

void TSideBar::setBkPicture(const QPixmap &picture)
{
    bkPicture_ = picture;
    Relayout();
}

void TSideBar::setColor(const platform::colors::Color &color)
{
    if (color != color_) {
        color_ = color;
        update();
    }
}

void TSideBar::setCanSelected(bool canSelected)
{
    if (selectedItem_)
        SetSelectedItem(nullptr);
    canSelected_ = canSelected;
}

void TSideBar::setGroupFont(const QFont &font)
{
    setAndRelayout(groupFont_, font);
}

void TSideBar::setGroupFontColor(const platform::colors::Color &color)
{
    setAndRelayout(groupFontColor_, color);
}

void TSideBar::setItemFont(const QFont &font)
{
    setAndRelayout(itemFont_, font);
}

void TSideBar::setItemFontColor(const platform::colors::Color &color)
{
    setAndRelayout(itemFontColor_, color);
}

void TSideBar::setActiveGroupIndex(int index)
{
    const int visible = visibleGroupCount();
    if (index != activeGroupIndex_) {
        if (visible > 0 && (index < 0 || index >= visible))
            index = 0;
        keepPictureForSlide(visibleGroup(index));
        previousActiveGroup_ = activeGroup_;
        activeGroupIndex_ = index;
    }
    if (activeGroupIndex_ >= 0 && activeGroupIndex_ < visible)
        SetActiveGroup(visibleGroup(activeGroupIndex_));
}

void TSideBar::setGroups(const TSideGroups &groups)
{
    if (&groups == groups_.get())
        return;
    groups_->Assign(groups);
    setActiveGroupIndex(0);
    Relayout();
}

void TSideBar::setGroupHeightOffSet(int offset)
{
    if (offset >= 0 && offset <= 9)
        setAndRelayout(groupHeightOffSet_, offset);
}

void TSideBar::setLargeImages(ImageList *list)
{
    watchImageList(largeImages_, list);
}

void TSideBar::setSmallImages(ImageList *list)
{
    watchImageList(smallImages_, list);
}

void TSideBar::watchImageList(QPointer<ImageList> &slot, ImageList *list)
{
    if (slot == list)
        return;
    if (slot)
        slot->disconnect(this);
    slot = list;
    if (list) {
        connect(list, &ImageList::Changed, this, &TSideBar::Relayout);
        connect(list, &QObject::destroyed, this, &TSideBar::Relayout);
    }
    Relayout();
}

void TSideBar::setPaintStyle(TsbPaintStyle style)
{
    if (style == paintStyle_)
        return;
    paintStyle_ = style;
    painter_.reset();
    if (borderStyle_ != bsNone)
        setBorderStyle(bsNone);
    else
        Relayout();
}

void TSideBar::setBorderStyle(TBorderStyle style)
{
    setAndRelayout(borderStyle_, style);
}

platform::Rect TSideBar::clientBounds() const
{
    const int border = borderStyle_ == bsSingle ? 1 : 0;
    return {border, border, width() - border, height() - border};
}

void TSideBar::beginLoading()
{
    loading_ = true;
}

// While loading, changes are laid out at the end; until then the layout
// is dropped, so that nothing reads records of removed groups or items.
bool TSideBar::deferredWhileLoading()
{
    if (loading_ && painter_)
        painter_->viewInfo().Invalidate();
    return loading_;
}

void TSideBar::endLoading()
{
    if (!loading_)
        return;
    loading_ = false;
    if (activeGroup_) {
        GroupsChanged();
    } else {
        setActiveGroupIndex(0);
        Relayout();
    }
}

void TSideBar::setScrollDelay(int milliseconds)
{
    if (milliseconds > 0)
        scrollDelay_ = milliseconds;
}

void TSideBar::setSpaceHeight(int pixels)
{
    if (pixels <= 4 || pixels == spaceHeight_)
        return;
    spaceHeight_ = pixels;
    RefreshItems(true);
}

void TSideBar::setTransparentImages(bool transparent)
{
    setAndRelayout(transparentImages_, transparent);
}

void TSideBar::setShowGroups(bool show)
{
    setAndRelayout(showGroups_, show);
}

void TSideBar::setBarCursor(const QCursor &cursor)
{
    cursor_ = cursor;
    updateCursor();
}

void TSideBar::setShowHint(bool show)
{
    itemHint_->Hide(); // gives back the setting it stood in for
    showHint_ = show;
}

void TSideBar::setGroupPopupMenu(QMenu *menu)
{
    watchPopupMenu(groupPopupMenu_, menu);
}

void TSideBar::setItemPopupMenu(QMenu *menu)
{
    watchPopupMenu(itemPopupMenu_, menu);
}

// A command chosen from the bar's menus hides the item hint.
void TSideBar::watchPopupMenu(QPointer<QMenu> &slot, QMenu *menu)
{
    if (slot == menu)
        return;
    if (slot)
        disconnect(slot, &QMenu::triggered, this, nullptr);
    slot = menu;
    if (menu)
        connect(menu, &QMenu::triggered, this, [this] { itemHint_->Hide(); });
}

void TSideBar::updateCursor()
{
    setCursor(trackedGroup_ ? SideBarCursor(crSideBarGroup) : cursor_);
}

// ---- painter and layout

std::unique_ptr<TSideBarPainter> TSideBar::CreatePainter()
{
    switch (paintStyle_) {
    case sbpsStandard: return std::make_unique<TSideBarStandardPainter>(*this);
    case sbpsFlat: break;
    case sbpsXP: return std::make_unique<TSideBarXPPainter>(*this);
    case sbpsW2K: return std::make_unique<TSideBarW2KPainter>(*this);
    }
    return std::make_unique<TSideBarFlatPainter>(*this);
}

TSideBarPainter &TSideBar::painter()
{
    if (!painter_)
        painter_ = CreatePainter();
    return *painter_;
}

TSideBarViewInfo &TSideBar::viewInfo()
{
    TSideBarViewInfo &layout = painter().viewInfo();
    if (!layout.Calculated())
        layout.Calculate();
    return layout;
}

void TSideBar::Relayout()
{
    if (destroying_)
        return;
    painter().viewInfo().Calculate();
    update();
}

void TSideBar::RefreshItems(bool recompute)
{
    if (destroying_)
        return;
    TSideBarViewInfo &layout = painter().viewInfo();
    if (recompute)
        layout.Calculate();
    QRegion region(layout.BarBounds().toQRect());
    for (const auto &header : layout.GroupInfos())
        region -= QRegion(header->HeaderBounds.toQRect());
    update(region);
}

void TSideBar::RefreshHeader(const TSideGroup *group)
{
    if (const TSideGroupViewInfo *info = viewInfo().GroupInfo(group))
        update(info->HeaderBounds.toQRect());
}

void TSideBar::RefreshScrollButtons()
{
    const TSideBarViewInfo &layout = viewInfo();
    update(QRegion(layout.UpButtonBounds().toQRect()) + QRegion(layout.DownButtonBounds().toQRect()));
}

void TSideBar::RefreshDropMark()
{
    if (dropMarkPlace_ == dpNone)
        return;
    update(viewInfo().dropMarkBounds(dropMarkItem_, dropMarkPlace_).inflated(0, 1).toQRect());
}

// ---- painting and the group-switch slide

void TSideBar::paintEvent(QPaintEvent *)
{
    QPainter canvas(this);
    if (!slide_ && previousActiveGroup_) {
        if (previousActiveGroup_ != activeGroup_ && !pictureBeforeSwitch_.isNull())
            startSlide();
        else
            previousActiveGroup_ = nullptr; // nothing to slide: the bar was hidden or has no headers
    }
    if (!slide_) {
        painter().Paint(canvas);
        return;
    }
    canvas.drawPixmap(0, 0, pictureBeforeSwitch_);
    painter().FillBackground(canvas, platform::Rect::fromQRect(slide_->uncovered()));
    canvas.drawPixmap(slide_->target(), pictureBeforeSwitch_, slide_->source());
}

// The picture the slide moves is the one shown before the switch to
// `next`; a bar that is not shown just switches.
void TSideBar::keepPictureForSlide(const TSideGroup *next)
{
    if (!next || !activeGroup_ || next == activeGroup_)
        return;
    stopSlide();
    if (isVisible())
        pictureBeforeSwitch_ = grab();
}

void TSideBar::startSlide()
{
    const TSideBarViewInfo &layout = viewInfo();
    const TSideGroupViewInfo *header = layout.GroupInfo(activeGroup_);
    if (!header) {
        stopSlide();
        return;
    }
    // The headers down to the new active one stay in place; what lies below
    // them moves away from the new header's old place.
    const bool downward = activeGroup_->index() < previousActiveGroup_->index();
    const platform::Rect bar = layout.BarBounds();
    const int top = downward ? header->HeaderBounds.bottom : header->HeaderBounds.top;
    slide_.emplace(QRect(bar.left, top, bar.width(), bar.bottom - top), downward, layout.GroupHeaderHeight());
    slideClock_.start();
    slideTimer_.start(SlideInterval, this);
}

void TSideBar::slideTick()
{
    if (slide_ && slide_->advance(slideClock_.elapsed())) {
        update(slide_->region());
        return;
    }
    stopSlide();
    previousActiveGroup_ = nullptr;
    update();
}

void TSideBar::stopSlide()
{
    slideTimer_.stop();
    slide_.reset();
    pictureBeforeSwitch_ = QPixmap();
    previousActiveGroup_ = nullptr;
}

void TSideBar::hideEvent(QHideEvent *event)
{
    if (slide_) {
        stopSlide();
        previousActiveGroup_ = nullptr;
    }
    QWidget::hideEvent(event);
}

// ---- groups

int TSideBar::visibleGroupCount() const
{
    int count = 0;
    for (int i = 0; i < groups_->count(); ++i)
        count += (*groups_)[i]->isVisible() ? 1 : 0;
    return count;
}

TSideGroup *TSideBar::visibleGroup(int n) const
{
    for (int i = 0; i < groups_->count(); ++i)
        if ((*groups_)[i]->isVisible() && n-- == 0)
            return (*groups_)[i];
    return nullptr;
}

int TSideBar::visibleGroupIndex(const TSideGroup *group) const
{
    int n = 0;
    for (int i = 0; i < groups_->count(); ++i) {
        const TSideGroup *g = (*groups_)[i];
        if (g == group)
            return g->isVisible() ? n : -1;
        n += g->isVisible() ? 1 : 0;
    }
    return -1;
}

TSideGroup *TSideBar::groupAt(QPoint p)
{
    return viewInfo().groupAt(p);
}

TSideBarItem *TSideBar::itemAt(QPoint p)
{
    return viewInfo().itemAt(p);
}

void TSideBar::SetActiveGroup(TSideGroup *group)
{
    if (group && !group->isVisible())
        group = nullptr;
    if (group && group == activeGroup_)
        return;
    SetFocusedItem(nullptr, false);
    focusedItemPressed_ = false;
    dropMarkItem_ = nullptr;
    dropMarkPlace_ = dpNone;
    activeGroup_ = group ? group : visibleGroup(0);
    setActiveGroupIndex(activeGroup_ ? visibleGroupIndex(activeGroup_) : -1);
    if (activeGroup_)
        activeGroup_->topItemIndex_ = 0;
    if (auto handler = OnChangeActiveGroup)
        handler(*this);
    Relayout();
}

// ---- highlight, selection, tracking, drop mark

// A handler may delete the item it hears of: after each event the bar reads
// its own state again, which the item's end has cleared.
void TSideBar::SetFocusedItem(TSideBarItem *item, bool pressed)
{
    if (item == focusedItem_ && pressed == focusedItemPressed_)
        return;
    TSideBarItem *old = focusedItem_;
    const bool changed = item != old;
    if (old && changed && old != selectedItem_)
        painter().InvalidateItemPicture(*old);
    if (changed)
        itemHint_->Hide();
    focusedItem_ = item;
    if (changed)
        if (auto handler = OnChangeFocusedItem)
            handler(*this);
    if (showHint_ && !pressed && changed)
        showItemHint(focusedItem_);
    focusedItemPressed_ = pressed;
    if (focusedItem_ && focusedItem_ != selectedItem_ && focusedItem_->isEnabled())
        painter().InvalidateItemPicture(*focusedItem_);
}

void TSideBar::SetSelectedItem(TSideBarItem *item)
{
    if (!canSelected_)
        return;
    if (selectedItem_)
        painter().InvalidateItemPicture(*selectedItem_);
    const bool changed = item != selectedItem_;
    selectedItem_ = item;
    if (changed)
        if (auto handler = OnChangeSelectedItem)
            handler(*this);
    if (selectedItem_ && selectedItem_->isEnabled())
        painter().InvalidateItemPicture(*selectedItem_);
}

void TSideBar::SetTrackedGroup(TSideGroup *group, bool pressed)
{
    if (group == trackedGroup_ && pressed == trackedGroupPressed_)
        return;
    TSideGroup *old = trackedGroup_;
    trackedGroup_ = group;
    trackedGroupPressed_ = pressed;
    if (painter().TracksGroupHeaders()) {
        if (old)
            RefreshHeader(old);
        if (group && group != old)
            RefreshHeader(group);
    }
    updateCursor();
}

void TSideBar::SetDropMark(TSideBarItem *item, TDropPlace place)
{
    if (item == dropMarkItem_ && place == dropMarkPlace_)
        return;
    RefreshDropMark();
    dropMarkItem_ = item;
    dropMarkPlace_ = place;
    RefreshDropMark();
}

void TSideBar::ClickItem(TSideBarItem *item)
{
    if (!item->isEnabled())
        return;
    // A copy: the handler may replace itself while it runs.
    if (auto handler = OnItemClick)
        handler(*this, item);
}

// ---- item hint

void TSideBar::showItemHint(TSideBarItem *item)
{
    if (!item || item->Hint.isEmpty() || TSideBarDragObject::Current())
        return;
    const TSideItemViewInfo *info = viewInfo().ItemInfo(item);
    if (!info)
        return;
    const int top = (info->isCut() ? info->PictureBounds.bottom : info->TextBounds.bottom) + 2;
    const QRect anchor(mapToGlobal(QPoint(spaceHeight_, top)), QSize(width() - 2 * spaceHeight_, 1));
    // A hint without "|" is both its short and its long part.
    const qsizetype bar = item->Hint.indexOf(QLatin1Char('|'));
    itemHint_->Show(bar < 0 ? item->Hint : item->Hint.left(bar), anchor, viewInfo().iconType() == sgLargeIcon);
    setToolTip(bar < 0 ? item->Hint : item->Hint.mid(bar + 1));
    showHint_ = false;
}

void TSideBar::itemHintHidden()
{
    setToolTip(QString());
    showHint_ = true;
}

// ---- notices from groups and items

void TSideBar::ItemChanged(const TSideBarItem &item, bool recompute)
{
    if (!destroying_ && !deferredWhileLoading() && &item.group() == activeGroup_)
        RefreshItems(recompute);
}

void TSideBar::ItemsChanged(TSideGroup &group)
{
    if (!destroying_ && !deferredWhileLoading() && &group == activeGroup_)
        RefreshItems(true);
}

void TSideBar::ItemDestroying(TSideBarItem &item)
{
    if (destroying_)
        return;
    if (focusedItem_ == &item)
        focusedItem_ = nullptr;
    if (dropMarkItem_ == &item) {
        dropMarkItem_ = nullptr;
        dropMarkPlace_ = dpNone;
    }
    TSideBarDragObject::ItemDestroying(item);
    if (auto handler = OnDeleteItem)
        handler(*this, &item);
}

void TSideBar::ItemRemoved(const TSideBarItem *item, TSideGroup &group)
{
    if (destroying_)
        return;
    if (selectedItem_ == item) {
        selectedItem_ = nullptr;
        if (auto handler = OnChangeSelectedItem)
            handler(*this);
    }
    // Keep the scroll position on an item, so the up button stays reachable.
    group.topItemIndex_ = std::max(0, std::min(group.topItemIndex_, group.items().count() - 1));
    ItemsChanged(group);
}

void TSideBar::GroupAdded(TSideGroup &group)
{
    if (destroying_ || deferredWhileLoading())
        return;
    if (!activeGroup_)
        SetActiveGroup(&group);
    else
        Relayout();
}

void TSideBar::GroupsChanged()
{
    if (destroying_ || deferredWhileLoading())
        return;
    if (!activeGroup_ || !activeGroup_->isVisible()) {
        SetActiveGroup(nullptr);
        return;
    }
    activeGroupIndex_ = visibleGroupIndex(activeGroup_);
    Relayout();
}

void TSideBar::GroupCaptionChanged(TSideGroup &group)
{
    if (destroying_ || deferredWhileLoading())
        return;
    if (auto handler = OnChangeGroupCaption)
        handler(group, &group);
    RefreshHeader(&group);
}

void TSideBar::GroupDestroying(TSideGroup &group)
{
    if (destroying_)
        return;
    if (trackedGroup_ == &group) {
        trackedGroup_ = nullptr;
        trackedGroupPressed_ = false;
        updateCursor();
    }
    if (previousActiveGroup_ == &group)
        previousActiveGroup_ = nullptr;
}

void TSideBar::GroupRemoved(const TSideGroup *group)
{
    if (destroying_)
        return;
    const bool loading = deferredWhileLoading();
    if (activeGroup_ == group) {
        activeGroup_ = nullptr;
        if (!loading)
            SetActiveGroup(nullptr);
        return;
    }
    if (loading)
        return;
    if (activeGroup_)
        activeGroupIndex_ = visibleGroupIndex(activeGroup_);
    Relayout();
}
