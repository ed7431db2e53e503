#pragma once

#include "controls/sidebar/sidebartypes.h"

#include <QString>
#include <memory>
#include <vector>

class TSideBar;
class TSideBarItem;
class TSideBarItems;
class TSideGroup;
class TSideGroups;

// What the owner of the groups hears of changes in them and in their items.
// The bar implements it privately; only the groups and items call it.
class SideBarModelObserver {
public:
    // An item's look changed; `recompute` when its size may have too.
    virtual void ItemChanged(const TSideBarItem &item, bool recompute) = 0;
    // Items were added, moved or scrolled.
    virtual void ItemsChanged(TSideGroup &group) = 0;
    virtual void ItemDestroying(TSideBarItem &item) = 0;
    // `item` no longer exists; only its address is left to compare.
    virtual void ItemRemoved(const TSideBarItem *item, TSideGroup &group) = 0;
    virtual void GroupAdded(TSideGroup &group) = 0;
    // Groups were moved, shown or hidden.
    virtual void GroupsChanged() = 0;
    virtual void GroupCaptionChanged(TSideGroup &group) = 0;
    virtual void GroupDestroying(TSideGroup &group) = 0;
    virtual void GroupRemoved(const TSideGroup *group) = 0;

protected:
    ~SideBarModelObserver() = default;
};

// One entry of a group: a picture with its caption.
class TSideBarItem {
public:
    explicit TSideBarItem(TSideBarItems &collection);
    TSideBarItem(const TSideBarItem &) = delete;
    TSideBarItem &operator=(const TSideBarItem &) = delete;

    TSideBarItems &collection() const { return collection_; }
    TSideGroup &group() const;
    TSideBar &bar() const;

    int index() const;
    // Takes the item out of its list and puts it back at `index`.
    void setIndex(int to);

    const QString &caption() const { return caption_; }
    void setCaption(const QString &caption);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int largeImage() const { return largeImage_; }
    void setLargeImage(int index);
    int smallImage() const { return smallImage_; }
    void setSmallImage(int index);
    bool isDefault() const { return isDefault_; }
    void setDefault(bool isDefault) { isDefault_ = isDefault; }

    // The owner's own data: a short part, "|", a long part for the hint;
    // free text; a number the owner dispatches on.
    QString Hint;
    QString CustomData;
    int Tag = 0;

    // Copies everything but the position, as a dragged copy takes it over.
    void Assign(const TSideBarItem &source);

private:
    TSideBarItems &collection_;
    QString caption_;
    bool enabled_ = true;
    int largeImage_ = -1;
    int smallImage_ = -1;
    bool isDefault_ = true;
};

// The items of one group, in order; owns them.
class TSideBarItems {
public:
    explicit TSideBarItems(TSideGroup &group) : group_(group) {}
    ~TSideBarItems();
    TSideBarItems(const TSideBarItems &) = delete;
    TSideBarItems &operator=(const TSideBarItems &) = delete;

    TSideGroup &group() const { return group_; }
    int count() const { return int(items_.size()); }
    TSideBarItem *operator[](int index) const { return items_.at(size_t(index)).get(); }
    int indexOf(const TSideBarItem *item) const;

    TSideBarItem &Add();
    void Delete(int index);
    void Clear();
    // Replaces the items by copies of `source`'s.
    void Assign(const TSideBarItems &source);

private:
    friend class TSideBarItem;
    void Move(int from, int to);

    TSideGroup &group_;
    std::vector<std::unique_ptr<TSideBarItem>> items_;
};

// A header with its items.
class TSideGroup {
public:
    explicit TSideGroup(TSideGroups &collection);
    TSideGroup(const TSideGroup &) = delete;
    TSideGroup &operator=(const TSideGroup &) = delete;

    TSideGroups &collection() const { return collection_; }
    TSideBar &bar() const;

    int index() const;
    void setIndex(int to);

    const QString &caption() const { return caption_; }
    void setCaption(const QString &caption);
    TSideGroupIconType iconType() const { return iconType_; }
    void setIconType(TSideGroupIconType iconType);
    TSideBarItems &items() { return items_; }
    const TSideBarItems &items() const { return items_; }
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // The scroll position: the first item that is laid out.
    int topItemIndex() const { return topItemIndex_; }
    void setTopItemIndex(int index);

    bool isDestroying() const { return destroying_; }

    // Copies caption, icon type, visibility and items.
    void Assign(const TSideGroup &source);

private:
    friend class TSideBar;
    friend class TSideGroups;

    TSideGroups &collection_;
    QString caption_;
    TSideGroupIconType iconType_ = sgLargeIcon;
    bool visible_ = true;
    int topItemIndex_ = 0;
    bool destroying_ = false;
    TSideBarItems items_{*this};
};

// The bar's groups, in order; owns them.
class TSideGroups {
public:
    explicit TSideGroups(TSideBar &bar) : bar_(bar) {}
    ~TSideGroups();
    TSideGroups(const TSideGroups &) = delete;
    TSideGroups &operator=(const TSideGroups &) = delete;

    TSideBar &bar() const { return bar_; }
    int count() const { return int(groups_.size()); }
    TSideGroup *operator[](int index) const { return groups_.at(size_t(index)).get(); }
    int indexOf(const TSideGroup *group) const;

    TSideGroup &Add();
    void Delete(int index);
    void Clear();
    // Replaces the groups by copies of `source`'s.
    void Assign(const TSideGroups &source);

private:
    friend class TSideGroup;
    void Move(int from, int to);

    TSideBar &bar_;
    std::vector<std::unique_ptr<TSideGroup>> groups_;
};
