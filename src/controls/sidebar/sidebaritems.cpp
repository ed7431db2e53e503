#include "controls/sidebar/sidebaritems.h"

#include "controls/sidebar/sidebar.h"

#include <algorithm>

namespace {

template <typename T>
int indexIn(const std::vector<std::unique_ptr<T>> &list, const T *entry)
{
    const auto found = std::find_if(list.begin(), list.end(), [entry](const auto &p) { return p.get() == entry; });
    return found == list.end() ? -1 : int(found - list.begin());
}

template <typename T>
void moveIn(std::vector<std::unique_ptr<T>> &list, int from, int to)
{
    to = std::clamp(to, 0, int(list.size()) - 1);
    auto entry = std::move(list[size_t(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, std::move(entry));
}

} // namespace

// ---- TSideBarItem

TSideBarItem::TSideBarItem(TSideBarItems &collection) : collection_(collection) {}

TSideGroup &TSideBarItem::Group() const { return collection_.Group(); }

TSideBar &TSideBarItem::Bar() const { return Group().Bar(); }

int TSideBarItem::Index() const { return collection_.IndexOf(this); }

void TSideBarItem::SetIndex(int index)
{
    const int from = Index();
    if (index != from)
        collection_.Move(from, index);
}

void TSideBarItem::SetCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Bar().ItemChanged(*this, true);
}

void TSideBarItem::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Bar().ItemChanged(*this, false);
}

void TSideBarItem::SetLargeImage(int index)
{
    if (index == largeImage_)
        return;
    largeImage_ = index;
    Bar().ItemChanged(*this, false);
}

void TSideBarItem::SetSmallImage(int index)
{
    if (index == smallImage_)
        return;
    smallImage_ = index;
    Bar().ItemChanged(*this, false);
}

void TSideBarItem::Assign(const TSideBarItem &source)
{
    SetCaption(source.caption_);
    Hint = source.Hint;
    isDefault_ = source.isDefault_;
    Tag = source.Tag;
    CustomData = source.CustomData;
    SetLargeImage(source.largeImage_);
    SetSmallImage(source.smallImage_);
    SetEnabled(source.enabled_);
}

// ---- TSideBarItems

TSideBarItems::~TSideBarItems() { Clear(); }

int TSideBarItems::IndexOf(const TSideBarItem *item) const { return indexIn(items_, item); }

TSideBarItem &TSideBarItems::Add()
{
    items_.push_back(std::make_unique<TSideBarItem>(*this));
    TSideBarItem &item = *items_.back();
    group_.Bar().ItemsChanged(group_);
    return item;
}

void TSideBarItems::Delete(int index)
{
    TSideBar &bar = group_.Bar();
    TSideBarItem *item = items_.at(size_t(index)).get();
    bar.ItemDestroying(*item);
    items_.erase(items_.begin() + index);
    bar.ItemRemoved(item, group_);
}

void TSideBarItems::Clear()
{
    while (!items_.empty())
        Delete(Count() - 1);
}

void TSideBarItems::Move(int from, int to)
{
    moveIn(items_, from, to);
    group_.Bar().ItemsChanged(group_);
}

// ---- TSideGroup

TSideGroup::TSideGroup(TSideGroups &collection)
    : collection_(collection), caption_(QStringLiteral("New Group"))
{
}

TSideBar &TSideGroup::Bar() const { return collection_.Bar(); }

int TSideGroup::Index() const { return collection_.IndexOf(this); }

void TSideGroup::SetIndex(int index)
{
    const int from = Index();
    if (index != from)
        collection_.Move(from, index);
}

void TSideGroup::SetCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Bar().GroupCaptionChanged(*this);
}

void TSideGroup::SetIconType(TSideGroupIconType iconType)
{
    if (iconType == iconType_)
        return;
    iconType_ = iconType;
    topItemIndex_ = 0;
    Bar().ItemsChanged(*this);
}

void TSideGroup::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Bar().GroupsChanged();
}

void TSideGroup::SetTopItemIndex(int index)
{
    if (index == topItemIndex_ || index < 0 || index >= items_.Count())
        return;
    topItemIndex_ = index;
    Bar().ItemsChanged(*this);
}

// ---- TSideGroups

TSideGroups::~TSideGroups() { Clear(); }

int TSideGroups::IndexOf(const TSideGroup *group) const { return indexIn(groups_, group); }

TSideGroup &TSideGroups::Add()
{
    groups_.push_back(std::make_unique<TSideGroup>(*this));
    TSideGroup &group = *groups_.back();
    bar_.GroupAdded(group);
    return group;
}

void TSideGroups::Delete(int index)
{
    TSideGroup *group = groups_.at(size_t(index)).get();
    group->destroying_ = true;
    bar_.GroupDestroying(*group);
    group->Items().Clear();
    groups_.erase(groups_.begin() + index);
    bar_.GroupRemoved(group);
}

void TSideGroups::Clear()
{
    while (!groups_.empty())
        Delete(Count() - 1);
}

void TSideGroups::Move(int from, int to)
{
    moveIn(groups_, from, to);
    bar_.GroupsChanged();
}
