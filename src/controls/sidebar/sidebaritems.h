#pragma once

#include "controls/sidebar/sidebartypes.h"

#include <QString>
#include <memory>
#include <vector>

class TSideBar;
class TSideBarItems;
class TSideGroup;
class TSideGroups;

// One entry of a group: a picture with its caption.
class TSideBarItem {
public:
    explicit TSideBarItem(TSideBarItems &collection);
    TSideBarItem(const TSideBarItem &) = delete;
    TSideBarItem &operator=(const TSideBarItem &) = delete;

    TSideBarItems &Collection() const { return collection_; }
    TSideGroup &Group() const;
    TSideBar &Bar() const;

    int Index() const;
    // Takes the item out of its list and puts it back at `index`.
    void SetIndex(int index);

    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int LargeImage() const { return largeImage_; }
    void SetLargeImage(int index);
    int SmallImage() const { return smallImage_; }
    void SetSmallImage(int index);
    bool IsDefault() const { return isDefault_; }
    void SetIsDefault(bool isDefault) { isDefault_ = isDefault; }

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

    TSideGroup &Group() const { return group_; }
    int Count() const { return int(items_.size()); }
    TSideBarItem *operator[](int index) const { return items_.at(size_t(index)).get(); }
    int IndexOf(const TSideBarItem *item) const;

    TSideBarItem &Add();
    void Delete(int index);
    void Clear();

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

    TSideGroups &Collection() const { return collection_; }
    TSideBar &Bar() const;

    int Index() const;
    void SetIndex(int index);

    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    TSideGroupIconType IconType() const { return iconType_; }
    void SetIconType(TSideGroupIconType iconType);
    TSideBarItems &Items() { return items_; }
    const TSideBarItems &Items() const { return items_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // The scroll position: the first item that is laid out.
    int TopItemIndex() const { return topItemIndex_; }
    void SetTopItemIndex(int index);

    bool Destroying() const { return destroying_; }

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

    TSideBar &Bar() const { return bar_; }
    int Count() const { return int(groups_.size()); }
    TSideGroup *operator[](int index) const { return groups_.at(size_t(index)).get(); }
    int IndexOf(const TSideGroup *group) const;

    TSideGroup &Add();
    void Delete(int index);
    void Clear();

private:
    friend class TSideGroup;
    void Move(int from, int to);

    TSideBar &bar_;
    std::vector<std::unique_ptr<TSideGroup>> groups_;
};
