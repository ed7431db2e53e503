#pragma once

#include "platform/drawing.h"
#include "platform/rect.h"

#include <QColor>
#include <memory>

class TSideBar;
class TSideBarItem;
class TSideBarViewInfo;
class TSideGroupViewInfo;
class TSideItemViewInfo;

// The pale square behind a highlighted picture, mixed from the button face,
// highlight and window colours.
QColor LightHighlightColor(const QColor &face, const QColor &highlight, const QColor &window);
QColor LightHighlightColor();

// Draws the bar in one paint style and owns that style's layout. Every
// element is cut out of the clip right after it is drawn and the background
// is filled last, so no pixel is painted twice.
class TSideBarPainter {
public:
    static constexpr platform::TextFormat LargeTextFormat =
        platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_NOPREFIX;
    static constexpr platform::TextFormat SmallTextFormat =
        platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_NOPREFIX | platform::DT_END_ELLIPSIS;

    explicit TSideBarPainter(TSideBar &bar) : bar_(bar) {}
    virtual ~TSideBarPainter();
    TSideBarPainter(const TSideBarPainter &) = delete;
    TSideBarPainter &operator=(const TSideBarPainter &) = delete;

    // Created on first use through CreateViewInfo.
    TSideBarViewInfo &viewInfo();
    void Paint(QPainter &canvas);
    // Background picture, gradient or colour, whichever the bar uses.
    void FillBackground(QPainter &canvas, const platform::Rect &r);

    // Overridable operations, in the order the style families rely on.
    virtual std::unique_ptr<TSideBarViewInfo> CreateViewInfo();
    virtual void DrawBorder() {}
    virtual void DrawGroupHeader(const TSideGroupViewInfo &) {}
    virtual void DrawItem(const TSideItemViewInfo &info);
    virtual void DrawItemText(const TSideItemViewInfo &info);
    virtual void FillPictureBack(const TSideItemViewInfo &info, const platform::Rect &r);
    virtual void DrawItemPicture(const TSideItemViewInfo &info);
    virtual void DrawPictureFrame(const TSideItemViewInfo &info);
    virtual void DrawScrollButtons();
    virtual void DrawDropMark();
    // Picture and caption of the item, within the items area.
    virtual void InvalidateItem(const TSideBarItem &item);
    virtual void InvalidateItemPicture(const TSideBarItem &item);
    virtual bool TracksGroupHeaders() const { return false; }

protected:
    QPainter &canvas() { return *canvas_; }
    void ExcludeClip(const platform::Rect &r);
    void FillBackground(const platform::Rect &r);
    bool isHighlighted(const TSideBarItem &item) const;
    // The sunken frame of the flat and XP styles.
    void DrawSunkenBorder();
    // The flat and XP header: the cut caption centred on a button face with
    // edges that follow the pointer.
    void DrawTrackingHeader(const TSideGroupViewInfo &info);
    void DrawHeaderCaption(const TSideGroupViewInfo &info, const platform::Rect &r, platform::TextFormat format);

    TSideBar &bar_;

private:
    void drawScrollButton(const platform::Rect &bounds, bool up, bool pushed);

    std::unique_ptr<TSideBarViewInfo> viewInfo_;
    QPainter *canvas_ = nullptr;
    platform::ClipExcluder *clip_ = nullptr;
};

class TSideBarStandardPainter : public TSideBarPainter {
public:
    using TSideBarPainter::TSideBarPainter;
    std::unique_ptr<TSideBarViewInfo> CreateViewInfo() override;
    void DrawGroupHeader(const TSideGroupViewInfo &info) override;
};

class TSideBarFlatPainter : public TSideBarPainter {
public:
    using TSideBarPainter::TSideBarPainter;
    std::unique_ptr<TSideBarViewInfo> CreateViewInfo() override;
    void DrawBorder() override;
    void DrawGroupHeader(const TSideGroupViewInfo &info) override;
    bool TracksGroupHeaders() const override { return true; }
};

class TSideBarW2KPainter : public TSideBarFlatPainter {
public:
    using TSideBarFlatPainter::TSideBarFlatPainter;
    std::unique_ptr<TSideBarViewInfo> CreateViewInfo() override;
};

class TSideBarXPPainter : public TSideBarPainter {
public:
    using TSideBarPainter::TSideBarPainter;
    std::unique_ptr<TSideBarViewInfo> CreateViewInfo() override;
    void DrawBorder() override;
    void DrawGroupHeader(const TSideGroupViewInfo &info) override;
    void FillPictureBack(const TSideItemViewInfo &info, const platform::Rect &r) override;
    void DrawPictureFrame(const TSideItemViewInfo &info) override;
    void InvalidateItemPicture(const TSideBarItem &item) override;
    bool TracksGroupHeaders() const override { return true; }
};
