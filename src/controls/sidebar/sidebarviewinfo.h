#pragma once

#include "controls/sidebar/sidebartypes.h"
#include "platform/drawing.h"
#include "platform/rect.h"

#include <QFont>
#include <QPoint>
#include <QSize>
#include <memory>
#include <vector>

class TSideBar;
class TSideBarItem;
class TSideBarViewInfo;
class TSideGroup;

// Where one shown group header lies.
class TSideGroupViewInfo {
public:
    TSideGroupViewInfo(TSideGroup *group, const platform::Rect &headerBounds) : Group(group), HeaderBounds(headerBounds)
    {}
    virtual ~TSideGroupViewInfo() = default;

    TSideGroup *const Group;
    const platform::Rect HeaderBounds;
};

// Where one laid-out item's picture and caption lie.
class TSideItemViewInfo {
public:
    TSideItemViewInfo(const TSideBarViewInfo &layout, TSideBarItem *item, const platform::Rect &pictureBounds,
                      const platform::Rect &textBounds);
    virtual ~TSideItemViewInfo() = default;

    TSideBarItem *const Item;
    const platform::Rect PictureBounds;
    const platform::Rect TextBounds;

    platform::Rect PictureFrame() const;
    int top() const;
    int bottom() const;
    // Starts inside the items area but ends below it.
    bool isCut() const;

    virtual bool HitTest(QPoint p) const;
    // What the 3-D frame styles draw their edge around.
    virtual platform::Rect frameBounds() const { return PictureFrame(); }

protected:
    const TSideBarViewInfo &layout_;
};

// The W2K item: its frame is the whole row of the items area.
class TSideItemW2KViewInfo : public TSideItemViewInfo {
public:
    using TSideItemViewInfo::TSideItemViewInfo;
    bool HitTest(QPoint p) const override;
    platform::Rect frameBounds() const override;
};

// The box that text drawn in `box` with `format` takes, measured as the
// painter will draw it, without painting.
platform::Rect MeasureText(const QFont &font, const QString &text, platform::Rect box, platform::TextFormat format);

struct TSideDropPlace {
    TSideBarItem *Item = nullptr;
    TDropPlace Place = dpNone;
};

// Geometry of the whole bar: headers, items, scroll buttons. Painting and
// hit testing only read it; it is recomputed when something it depends on
// changes.
class TSideBarViewInfo {
public:
    explicit TSideBarViewInfo(TSideBar &bar) : bar_(bar) {}
    virtual ~TSideBarViewInfo() = default;
    TSideBarViewInfo(const TSideBarViewInfo &) = delete;
    TSideBarViewInfo &operator=(const TSideBarViewInfo &) = delete;

    void Calculate();
    // False until calculated, again once the bar's size changed and after
    // Invalidate.
    bool Calculated() const;
    // Drops the records until the next calculation, for changes the bar
    // does not lay out at once.
    void Invalidate();

    const std::vector<std::unique_ptr<TSideGroupViewInfo>> &GroupInfos() const { return groups_; }
    const std::vector<std::unique_ptr<TSideItemViewInfo>> &ItemInfos() const { return items_; }
    const platform::Rect &ItemsArea() const { return itemsArea_; }
    const platform::Rect &UpButtonBounds() const { return upButton_; }
    const platform::Rect &DownButtonBounds() const { return downButton_; }

    const TSideGroupViewInfo *GroupInfo(const TSideGroup *group) const;
    const TSideItemViewInfo *ItemInfo(const TSideBarItem *item) const;

    TSideGroup *groupAt(QPoint p) const;
    TSideBarItem *itemAt(QPoint p) const;
    TSideDropPlace dropPlaceAt(QPoint p) const;
    platform::Rect markBounds(const TSideItemViewInfo &info, TDropPlace place) const;
    // Where the drop mark of an item and place is drawn: the mark bounds of a
    // laid-out item, else the top of the items area.
    platform::Rect dropMarkBounds(const TSideBarItem *item, TDropPlace place) const;

    // Picture size of the image list in use, or the icon type's default.
    QSize pictureSize(TSideGroupIconType iconType) const;
    TSideGroupIconType iconType() const;

    // Overridable geometry, in the order the style families rely on.
    virtual std::unique_ptr<TSideGroupViewInfo> CreateGroupViewInfo(TSideGroup *group, const platform::Rect &bounds);
    // Makes a record of the class the style uses for its items.
    virtual std::unique_ptr<TSideItemViewInfo> ItemViewInfoClass(TSideBarItem *item, const platform::Rect &picture,
                                                                 const platform::Rect &text) const;
    virtual std::unique_ptr<TSideItemViewInfo> CreateItemViewInfo(TSideBarItem *item, int top);
    virtual int GroupHeaderHeight() const;
    virtual platform::Rect BarBounds() const;
    virtual int GroupGap() const { return 1; }
    virtual int PictureFrameIndent() const { return 1; }

protected:
    // The group font's height plus twice the offset, or the style's padding
    // when the offset is 0.
    int headerHeight(int paddingWithoutOffset) const;

    TSideBar &bar_;

private:
    void calculateHeaders();
    void calculateItems();
    void calculateScrollButtons();

    std::vector<std::unique_ptr<TSideGroupViewInfo>> groups_;
    std::vector<std::unique_ptr<TSideItemViewInfo>> items_;
    platform::Rect itemsArea_;
    platform::Rect upButton_;
    platform::Rect downButton_;
    bool calculated_ = false;
    QSize calculatedSize_;
};

class TSideBarStandardViewInfo : public TSideBarViewInfo {
public:
    using TSideBarViewInfo::TSideBarViewInfo;
    platform::Rect BarBounds() const override;
};

class TSideBarFlatViewInfo : public TSideBarViewInfo {
public:
    using TSideBarViewInfo::TSideBarViewInfo;
    int GroupHeaderHeight() const override;
    platform::Rect BarBounds() const override;
};

class TSideBarW2KViewInfo : public TSideBarFlatViewInfo {
public:
    using TSideBarFlatViewInfo::TSideBarFlatViewInfo;
    std::unique_ptr<TSideItemViewInfo> ItemViewInfoClass(TSideBarItem *item, const platform::Rect &picture,
                                                         const platform::Rect &text) const override;
};

class TSideBarXPViewInfo : public TSideBarViewInfo {
public:
    using TSideBarViewInfo::TSideBarViewInfo;
    int GroupHeaderHeight() const override;
    platform::Rect BarBounds() const override;
    int GroupGap() const override { return 0; }
    int PictureFrameIndent() const override { return 5; }
};
