#include "controls/sidebar/sidebarviewinfo.h"

#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebarpainter.h"
#include "platform/drawing.h"

#include <QImage>
#include <algorithm>

using platform::Rect;

Rect MeasureText(const QFont &font, const QString &text, Rect box, platform::TextFormat format)
{
    QImage device(1, 1, QImage::Format_RGB32);
    QPainter painter(&device);
    painter.setFont(font);
    platform::drawText(painter, text, box, format | platform::DT_CALCRECT);
    return box;
}

// ---- item records

TSideItemViewInfo::TSideItemViewInfo(const TSideBarViewInfo &layout, TSideBarItem *item, const Rect &pictureBounds,
                                     const Rect &textBounds)
    : Item(item), PictureBounds(pictureBounds), TextBounds(textBounds), layout_(layout)
{}

Rect TSideItemViewInfo::PictureFrame() const
{
    const int indent = layout_.PictureFrameIndent();
    return PictureBounds.inflated(indent, indent);
}

int TSideItemViewInfo::top() const
{
    return std::min(TextBounds.top, PictureFrame().top);
}

int TSideItemViewInfo::bottom() const
{
    return std::max(TextBounds.bottom, PictureFrame().bottom);
}

bool TSideItemViewInfo::isCut() const
{
    return bottom() > layout_.ItemsArea().bottom;
}

bool TSideItemViewInfo::HitTest(QPoint p) const
{
    Rect textHit = TextBounds;
    if (layout_.iconType() == sgLargeIcon)
        textHit.top = PictureBounds.bottom;
    else
        textHit.left = PictureBounds.right;
    return textHit.contains(p) || PictureFrame().contains(p);
}

bool TSideItemW2KViewInfo::HitTest(QPoint p) const
{
    return frameBounds().contains(p);
}

Rect TSideItemW2KViewInfo::frameBounds() const
{
    const int space = Item->bar().spaceHeight();
    const Rect frame = PictureFrame();
    return {layout_.ItemsArea().left, frame.top - space, layout_.ItemsArea().right,
            std::max(frame.bottom, TextBounds.bottom) + space - 1};
}

// ---- layout

void TSideBarViewInfo::Calculate()
{
    items_.clear();
    groups_.clear();
    upButton_ = downButton_ = Rect{};
    calculateHeaders();
    calculateItems();
    calculateScrollButtons();
    calculated_ = true;
    calculatedSize_ = bar_.size();
}

bool TSideBarViewInfo::Calculated() const
{
    return calculated_ && calculatedSize_ == bar_.size();
}

void TSideBarViewInfo::Invalidate()
{
    groups_.clear();
    items_.clear();
    calculated_ = false;
}

void TSideBarViewInfo::calculateHeaders()
{
    TSideGroup *active = bar_.activeGroup();
    const Rect bar = BarBounds();
    itemsArea_ = bar.inflated(-1, -1);
    if (!bar_.showGroups() || !active)
        return;

    const TSideGroups &all = bar_.groups();
    const int h = GroupHeaderHeight();
    const int gap = GroupGap();
    const int activeIndex = active->index();
    int y = bar.top;
    for (int i = 0; i <= activeIndex; ++i)
        if (all[i]->isVisible()) {
            groups_.push_back(CreateGroupViewInfo(all[i], {bar.left, y, bar.right, y + h}));
            y += h + gap;
        }
    // An active group being hidden has no header yet is still active while
    // the bar hands over to another one; it limits the items area nowhere.
    const bool activeHeader = !groups_.empty() && groups_.back()->Group == active;
    if (activeHeader)
        itemsArea_.top = groups_.back()->HeaderBounds.bottom;

    const size_t topStack = groups_.size();
    y = bar.bottom;
    for (int i = all.count() - 1; i > activeIndex; --i)
        if (all[i]->isVisible()) {
            groups_.push_back(CreateGroupViewInfo(all[i], {bar.left, y - h, bar.right, y}));
            y -= h + gap;
        }
    // The lower stack is stored from its lowest header up, so the last record
    // is the header right under the items.
    if (activeHeader && groups_.size() > topStack)
        itemsArea_.bottom = groups_.back()->HeaderBounds.top;
}

void TSideBarViewInfo::calculateItems()
{
    TSideGroup *active = bar_.activeGroup();
    if (!active)
        return;
    const TSideBarItems &items = active->items();
    int y = itemsArea_.top;
    for (int i = active->topItemIndex(); i < items.count(); ++i) {
        y += bar_.spaceHeight();
        if (y >= itemsArea_.bottom)
            break;
        items_.push_back(CreateItemViewInfo(items[i], y));
        y = items_.back()->bottom();
    }
}

void TSideBarViewInfo::calculateScrollButtons()
{
    if (items_.empty())
        return;
    const int space = bar_.spaceHeight();
    const TSideBarItem *first = items_.front()->Item;
    const TSideBarItem *last = items_.back()->Item;
    if (first->index() > 0)
        upButton_ =
            Rect{itemsArea_.right - 16, itemsArea_.top, itemsArea_.right, itemsArea_.top + 16}.offset(-space, space);
    if (last->index() < last->collection().count() - 1 || items_.back()->isCut())
        downButton_ = Rect{itemsArea_.right - 16, itemsArea_.bottom - 16, itemsArea_.right, itemsArea_.bottom}.offset(
            -space, -space);
}

const TSideGroupViewInfo *TSideBarViewInfo::GroupInfo(const TSideGroup *group) const
{
    for (const auto &info : groups_)
        if (info->Group == group)
            return info.get();
    return nullptr;
}

const TSideItemViewInfo *TSideBarViewInfo::ItemInfo(const TSideBarItem *item) const
{
    for (const auto &info : items_)
        if (info->Item == item)
            return info.get();
    return nullptr;
}

TSideGroup *TSideBarViewInfo::groupAt(QPoint p) const
{
    for (const auto &info : groups_)
        if (info->HeaderBounds.contains(p))
            return info->Group;
    return nullptr;
}

TSideBarItem *TSideBarViewInfo::itemAt(QPoint p) const
{
    for (const auto &info : items_)
        if (info->HitTest(p))
            return info->Item;
    return nullptr;
}

TSideDropPlace TSideBarViewInfo::dropPlaceAt(QPoint p) const
{
    if (!itemsArea_.contains(p))
        return {nullptr, dpNone};
    if (items_.empty())
        return {nullptr, dpBefore};
    for (const auto &info : items_)
        if (info->bottom() >= p.y())
            return {info->Item, p.y() < info->top() ? dpBefore : dpNone};
    return {items_.back()->Item, dpAfter};
}

Rect TSideBarViewInfo::markBounds(const TSideItemViewInfo &info, TDropPlace place) const
{
    switch (place) {
    case dpBefore: return {itemsArea_.left, info.top() - 8, itemsArea_.right, info.top()};
    case dpAfter: return {itemsArea_.left, info.bottom(), itemsArea_.right, info.bottom() + 8};
    case dpNone: break;
    }
    return {itemsArea_.left, info.top(), itemsArea_.right, info.bottom()};
}

Rect TSideBarViewInfo::dropMarkBounds(const TSideBarItem *item, TDropPlace place) const
{
    if (const TSideItemViewInfo *info = ItemInfo(item))
        return markBounds(*info, place);
    return {itemsArea_.left, itemsArea_.top, itemsArea_.right, itemsArea_.top + 8};
}

TSideGroupIconType TSideBarViewInfo::iconType() const
{
    return bar_.activeGroup() ? bar_.activeGroup()->iconType() : sgLargeIcon;
}

QSize TSideBarViewInfo::pictureSize(TSideGroupIconType iconType) const
{
    const ImageList *list = iconType == sgLargeIcon ? bar_.largeImages() : bar_.smallImages();
    if (list)
        return {list->width(), list->height()};
    return iconType == sgLargeIcon ? QSize(32, 32) : QSize(16, 16);
}

std::unique_ptr<TSideGroupViewInfo> TSideBarViewInfo::CreateGroupViewInfo(TSideGroup *group, const Rect &bounds)
{
    return std::make_unique<TSideGroupViewInfo>(group, bounds);
}

std::unique_ptr<TSideItemViewInfo> TSideBarViewInfo::ItemViewInfoClass(TSideBarItem *item, const Rect &picture,
                                                                       const Rect &text) const
{
    return std::make_unique<TSideItemViewInfo>(*this, item, picture, text);
}

std::unique_ptr<TSideItemViewInfo> TSideBarViewInfo::CreateItemViewInfo(TSideBarItem *item, int top)
{
    using namespace platform;
    const Rect bar = BarBounds();
    const Rect &area = itemsArea_;
    const int space = bar_.spaceHeight();
    const QSize picture = pictureSize(iconType());

    if (iconType() == sgLargeIcon) {
        const int left = bar.left + (bar.width() - picture.width()) / 2;
        const Rect pictureBounds{left, top + space, left + picture.width(), top + space + picture.height()};
        Rect text = MeasureText(bar_.itemFont(), item->caption(),
                                {area.left, pictureBounds.bottom + space, area.right, pictureBounds.bottom + space},
                                TSideBarPainter::LargeTextFormat);
        text = text.offset((area.width() - text.width()) / 2, 0);
        return ItemViewInfoClass(item, pictureBounds, text);
    }

    const int row = std::max(textHeight(bar_.itemFont()) + 2, picture.height());
    const int left = bar.left + space;
    const int pictureTop = top + space + (row > picture.height() ? (row - picture.height()) / 2 : 0);
    const Rect pictureBounds{left, pictureTop, left + picture.width(), pictureTop + picture.height()};
    const int textTop = top + space + (picture.height() > row ? (picture.height() - row) / 2 : 0);
    const int textLeft = pictureBounds.right + space;
    const int textRight = std::min(textLeft + textWidth(bar_.itemFont(), item->caption()), area.right - space);
    return ItemViewInfoClass(item, pictureBounds, {textLeft, textTop, textRight, textTop + row});
}

int TSideBarViewInfo::GroupHeaderHeight() const
{
    return headerHeight(4);
}

int TSideBarViewInfo::headerHeight(int paddingWithoutOffset) const
{
    const int offset = bar_.groupHeightOffSet();
    return platform::textHeight(bar_.groupFont()) + (offset == 0 ? paddingWithoutOffset : 2 * offset);
}

Rect TSideBarViewInfo::BarBounds() const
{
    return bar_.clientBounds();
}

// ---- style layouts

Rect TSideBarStandardViewInfo::BarBounds() const
{
    const Rect client = TSideBarViewInfo::BarBounds();
    if (!bar_.showGroups())
        return client;
    constexpr int bevelWidth = 1;
    return client.inflated(-bevelWidth, -bevelWidth).offset(0, 1);
}

int TSideBarFlatViewInfo::GroupHeaderHeight() const
{
    return headerHeight(8);
}

Rect TSideBarFlatViewInfo::BarBounds() const
{
    const Rect c = bar_.clientBounds();
    return {c.left + 1, c.top + (bar_.showGroups() ? 1 : 0), c.right - 1, c.bottom};
}

std::unique_ptr<TSideItemViewInfo> TSideBarW2KViewInfo::ItemViewInfoClass(TSideBarItem *item, const Rect &picture,
                                                                          const Rect &text) const
{
    return std::make_unique<TSideItemW2KViewInfo>(*this, item, picture, text);
}

int TSideBarXPViewInfo::GroupHeaderHeight() const
{
    return headerHeight(8);
}

Rect TSideBarXPViewInfo::BarBounds() const
{
    const bool headers = bar_.showGroups();
    const Rect c = bar_.clientBounds();
    return {c.left + 1, c.top + (headers ? 1 : 0), c.right - 1, headers ? c.bottom - 1 : c.bottom};
}
