#include "controls/sidebar/sidebaritems.h"

#include "controls/sidebar/sidebar.h"

#include <algorithm>

namespace {

template <typename T> int indexIn(const std::vector<std::unique_ptr<T>> &list, const T *entry)
{
    const auto found = std::find_if(list.begin(), list.end(), [entry](const auto &p) { return p.get() == entry; });
    return found == list.end() ? -1 : int(found - list.begin());
}

template <typename T> void moveIn(std::vector<std::unique_ptr<T>> &list, int from, int to)
{
    to = std::clamp(to, 0, int(list.size()) - 1);
    auto entry = std::move(list[size_t(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, std::move(entry));
}

// Replaces a collection's entries by copies of another's.
template <typename Collection, typename T> void assignFrom(Collection &to, const std::vector<std::unique_ptr<T>> &from)
{
    to.Clear();
    for (const auto &entry : from)
        to.Add().Assign(*entry);
}

SideBarModelObserver &observer(TSideBar &bar)
{
    return bar;
}

} // namespace

// ---- TSideBarItem

TSideBarItem::TSideBarItem(TSideBarItems &collection) : collection_(collection) {}

TSideGroup &TSideBarItem::group() const
{
    return collection_.group();
}

TSideBar &TSideBarItem::bar() const
{
    return group().bar();
}

int TSideBarItem::index() const
{
    return collection_.indexOf(this);
}

void TSideBarItem::setIndex(int to)
{
    const int from = index();
    if (to != from)
        collection_.Move(from, to);
}

void TSideBarItem::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    observer(bar()).ItemChanged(*this, true);
}

void TSideBarItem::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    observer(bar()).ItemChanged(*this, false);
}

void TSideBarItem::setLargeImage(int index)
{
    if (index == largeImage_)
        return;
    largeImage_ = index;
    observer(bar()).ItemChanged(*this, false);
}

void TSideBarItem::setSmallImage(int index)
{
    if (index == smallImage_)
        return;
    smallImage_ = index;
    observer(bar()).ItemChanged(*this, false);
}

void TSideBarItem::Assign(const TSideBarItem &source)
{
    setCaption(source.caption_);
    Hint = source.Hint;
    isDefault_ = source.isDefault_;
    Tag = source.Tag;
    CustomData = source.CustomData;
    setLargeImage(source.largeImage_);
    setSmallImage(source.smallImage_);
    setEnabled(source.enabled_);
}

// ---- TSideBarItems

TSideBarItems::~TSideBarItems()
{
    Clear();
}

int TSideBarItems::indexOf(const TSideBarItem *item) const
{
    return indexIn(items_, item);
}

TSideBarItem &TSideBarItems::Add()
{
    items_.push_back(std::make_unique<TSideBarItem>(*this));
    TSideBarItem &item = *items_.back();
    observer(group_.bar()).ItemsChanged(group_);
    return item;
}

void TSideBarItems::Delete(int index)
{
    SideBarModelObserver &bar = observer(group_.bar());
    TSideBarItem *item = items_.at(size_t(index)).get();
    bar.ItemDestroying(*item);
    items_.erase(items_.begin() + index);
    bar.ItemRemoved(item, group_);
}

void TSideBarItems::Clear()
{
    while (!items_.empty())
        Delete(count() - 1);
}

void TSideBarItems::Assign(const TSideBarItems &source)
{
    if (&source != this)
        assignFrom(*this, source.items_);
}

void TSideBarItems::Move(int from, int to)
{
    moveIn(items_, from, to);
    observer(group_.bar()).ItemsChanged(group_);
}

// ---- TSideGroup

TSideGroup::TSideGroup(TSideGroups &collection) : collection_(collection), caption_(QStringLiteral("New Group")) {}

TSideBar &TSideGroup::bar() const
{
    return collection_.bar();
}

int TSideGroup::index() const
{
    return collection_.indexOf(this);
}

void TSideGroup::setIndex(int to)
{
    const int from = index();
    if (to != from)
        collection_.Move(from, to);
}

void TSideGroup::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    observer(bar()).GroupCaptionChanged(*this);
}

void TSideGroup::setIconType(TSideGroupIconType iconType)
{
    if (iconType == iconType_)
        return;
    iconType_ = iconType;
    topItemIndex_ = 0;
    observer(bar()).ItemsChanged(*this);
}

void TSideGroup::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    observer(bar()).GroupsChanged();
}

void TSideGroup::Assign(const TSideGroup &source)
{
    setCaption(source.caption_);
    setIconType(source.iconType_);
    setVisible(source.visible_);
    items_.Assign(source.items_);
}

void TSideGroup::setTopItemIndex(int index)
{
    if (index == topItemIndex_ || index < 0 || index >= items_.count())
        return;
    topItemIndex_ = index;
    observer(bar()).ItemsChanged(*this);
}

// ---- TSideGroups

TSideGroups::~TSideGroups()
{
    Clear();
}

int TSideGroups::indexOf(const TSideGroup *group) const
{
    return indexIn(groups_, group);
}

TSideGroup &TSideGroups::Add()
{
    groups_.push_back(std::make_unique<TSideGroup>(*this));
    TSideGroup &group = *groups_.back();
    observer(bar_).GroupAdded(group);
    return group;
}

void TSideGroups::Delete(int index)
{
    TSideGroup *group = groups_.at(size_t(index)).get();
    group->destroying_ = true;
    observer(bar_).GroupDestroying(*group);
    group->items().Clear();
    groups_.erase(groups_.begin() + index);
    observer(bar_).GroupRemoved(group);
}

void TSideGroups::Clear()
{
    while (!groups_.empty())
        Delete(count() - 1);
}

void TSideGroups::Assign(const TSideGroups &source)
{
    if (&source != this)
        assignFrom(*this, source.groups_);
}

void TSideGroups::Move(int from, int to)
{
    moveIn(groups_, from, to);
    observer(bar_).GroupsChanged();
}
