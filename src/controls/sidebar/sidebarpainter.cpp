#include "controls/sidebar/sidebarpainter.h"

#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebardrag.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "platform/colors.h"

#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <functional>

using platform::Rect;
using platform::TextFormat;
namespace colors = platform::colors;

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long quotient = (std::llabs(product) + c / 2) / c;
    return int(product < 0 ? -quotient : quotient);
}

// The four one-pixel lines along the inside of r.
void forEachSide(const Rect &r, const std::function<void(const Rect &)> &side)
{
    side({r.left, r.top, r.right, r.top + 1});
    side({r.left, r.bottom - 1, r.right, r.bottom});
    side({r.left, r.top, r.left + 1, r.bottom});
    side({r.right - 1, r.top, r.right, r.bottom});
}

} // namespace

QColor LightHighlightColor(const QColor &face, const QColor &highlight, const QColor &window)
{
    if (face == QColor(Qt::black) || face == QColor(Qt::white))
        return highlight;
    auto mix = [](int f, int l, int n) {
        return std::clamp(mulDiv(f, -2, 100) + mulDiv(l, 30, 100) + mulDiv(n, 72, 100), 0, 255);
    };
    return QColor(mix(face.red(), highlight.red(), window.red()), mix(face.green(), highlight.green(), window.green()),
                  mix(face.blue(), highlight.blue(), window.blue()));
}

QColor LightHighlightColor()
{
    return LightHighlightColor(colors::clBtnFace, colors::clHighlight, colors::clWindow);
}

// ---- base painter

TSideBarPainter::~TSideBarPainter() = default;

TSideBarViewInfo &TSideBarPainter::viewInfo()
{
    if (!viewInfo_)
        viewInfo_ = CreateViewInfo();
    return *viewInfo_;
}

std::unique_ptr<TSideBarViewInfo> TSideBarPainter::CreateViewInfo()
{
    return std::make_unique<TSideBarViewInfo>(bar_);
}

void TSideBarPainter::Paint(QPainter &canvas)
{
    TSideBarViewInfo &layout = viewInfo();
    if (!layout.Calculated())
        layout.Calculate();

    platform::ClipExcluder clip(canvas, {0, 0, bar_.width(), bar_.height()});
    canvas_ = &canvas;
    clip_ = &clip;
    if (bar_.borderStyle() == bsSingle) {
        const Rect whole{0, 0, bar_.width(), bar_.height()};
        platform::frameRect(canvas, whole, colors::clBlack); // a window frame's colour
        forEachSide(whole, [this](const Rect &side) { ExcludeClip(side); });
    }
    for (const auto &group : layout.GroupInfos())
        DrawGroupHeader(*group);
    DrawBorder();
    DrawScrollButtons();
    for (const auto &item : layout.ItemInfos())
        DrawItem(*item);
    FillBackground({0, 0, bar_.width(), bar_.height()});
    DrawDropMark();
    canvas_ = nullptr;
    clip_ = nullptr;
}

void TSideBarPainter::ExcludeClip(const Rect &r)
{
    clip_->exclude(r);
}

void TSideBarPainter::FillBackground(QPainter &canvas, const Rect &r)
{
    canvas_ = &canvas;
    FillBackground(r);
    canvas_ = nullptr;
}

void TSideBarPainter::FillBackground(const Rect &r)
{
    const QPixmap &picture = bar_.bkPicture();
    if (!picture.isNull()) {
        // Tiles line up with the client origin whatever part is filled.
        canvas().drawTiledPixmap(r.toQRect(), picture, QPoint(r.left % picture.width(), r.top % picture.height()));
    } else if (bar_.bkGround().isActive()) {
        bar_.bkGround().FillGradient(canvas(), r, bar_.size());
    } else {
        platform::fillRect(canvas(), r, bar_.color());
    }
}

bool TSideBarPainter::isHighlighted(const TSideBarItem &item) const
{
    return &item == bar_.focusedItem() || &item == bar_.selectedItem();
}

void TSideBarPainter::DrawItem(const TSideItemViewInfo &info)
{
    DrawItemPicture(info);
    DrawItemText(info);
}

void TSideBarPainter::DrawItemText(const TSideItemViewInfo &info)
{
    const TSideBarItem &item = *info.Item;
    const TextFormat format = viewInfo().iconType() == sgLargeIcon ? LargeTextFormat : SmallTextFormat;
    Rect text = info.TextBounds;
    FillBackground(text);
    canvas().setFont(bar_.itemFont());
    if (item.isEnabled()) {
        canvas().setPen(bar_.itemFontColor());
        platform::drawText(canvas(), item.caption(), text, format);
    } else {
        Rect shadow = text.offset(1, 1);
        canvas().setPen(colors::clBtnHighlight);
        platform::drawText(canvas(), item.caption(), shadow, format);
        canvas().setPen(colors::clBtnShadow);
        platform::drawText(canvas(), item.caption(), text, format);
    }
    ExcludeClip(info.TextBounds);
}

void TSideBarPainter::FillPictureBack(const TSideItemViewInfo &, const Rect &r)
{
    FillBackground(r);
}

void TSideBarPainter::DrawItemPicture(const TSideItemViewInfo &info)
{
    Rect frame = info.PictureFrame();
    FillPictureBack(info, frame);

    const bool large = viewInfo().iconType() == sgLargeIcon;
    const ImageList *list = large ? bar_.largeImages() : bar_.smallImages();
    const int index = large ? info.Item->largeImage() : info.Item->smallImage();
    if (!list || index < 0 || index >= list->count())
        return;
    list->Draw(canvas(), info.PictureBounds.left, info.PictureBounds.top, index);
    DrawPictureFrame(info);
    frame.bottom = std::min(frame.bottom, viewInfo().ItemsArea().bottom);
    ExcludeClip(frame);
}

void TSideBarPainter::DrawPictureFrame(const TSideItemViewInfo &info)
{
    const TSideBarItem &item = *info.Item;
    if (!item.isEnabled())
        return;
    const bool focused = &item == bar_.focusedItem();
    const bool sunken = &item == bar_.selectedItem() || (focused && bar_.focusedItemPressed());
    if (!sunken && !focused)
        return;
    const Rect frame = info.frameBounds();
    platform::drawEdge(canvas(), frame, sunken ? platform::BDR_SUNKENOUTER : platform::BDR_RAISEDINNER);
    // The W2K frame reaches past the picture; keep it from the background fill.
    forEachSide(frame, [this](const Rect &side) { ExcludeClip(side); });
}

void TSideBarPainter::DrawScrollButtons()
{
    const TSideBarViewInfo &layout = viewInfo();
    const bool dragging = TSideBarDragObject::Current() != nullptr;
    if (!layout.UpButtonBounds().isEmpty()) {
        drawScrollButton(layout.UpButtonBounds(), true, bar_.upButtonPressed() && !dragging);
        ExcludeClip(layout.UpButtonBounds());
    }
    if (!layout.DownButtonBounds().isEmpty()) {
        drawScrollButton(layout.DownButtonBounds(), false, bar_.downButtonPressed() && !dragging);
        ExcludeClip(layout.DownButtonBounds());
    }
}

void TSideBarPainter::drawScrollButton(const Rect &bounds, bool up, bool pushed)
{
    using namespace platform;
    if (pushed) {
        fillRect(canvas(), bounds, colors::clBtnFace);
        frameRect(canvas(), bounds, colors::clBtnShadow);
    } else {
        drawEdge(canvas(), bounds, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    // A black triangle four rows high, nudged down and right while pushed.
    const int shift = pushed ? 1 : 0;
    const int centre = bounds.left + (bounds.width() - 1) / 2 + shift;
    const int top = bounds.top + (bounds.height() - 4) / 2 + shift;
    for (int row = 0; row < 4; ++row) {
        const int half = up ? row : 3 - row;
        fillRect(canvas(), {centre - half, top + row, centre + half + 1, top + row + 1}, colors::clBlack);
    }
}

void TSideBarPainter::DrawDropMark()
{
    const TDropPlace place = bar_.dropMarkPlace();
    if (place == dpNone)
        return;
    const TSideBarViewInfo &layout = viewInfo();
    const TSideItemViewInfo *info = layout.ItemInfo(bar_.dropMarkItem());
    Rect r = layout.dropMarkBounds(bar_.dropMarkItem(), place);
    const int space = bar_.spaceHeight();
    r.left += space;
    r.right -= space;
    const int m = r.top + 4;

    const auto &items = layout.ItemInfos();
    const bool above = place == dpAfter || (info && info != items.front().get());
    const bool below = place == dpBefore || (info && info != items.back().get());
    const int t = above ? r.top : m;
    const int b = below ? r.bottom : m;

    QPainter &p = canvas();
    const QColor black = colors::clBlack;
    platform::drawLine(p, {r.left + 9, m}, {r.right - 9, m}, black);
    // Arrowheads at both ends, open only towards where items are.
    for (const QPolygon &head : {QPolygon({QPoint(r.left, t), QPoint(r.left, b), QPoint(r.left + 8, m)}),
                                 QPolygon({QPoint(r.right, t), QPoint(r.right, b), QPoint(r.right - 8, m)})}) {
        for (int i = 0; i < 3; ++i)
            platform::drawLine(p, head[i], head[(i + 1) % 3], black);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(black);
        p.drawPolygon(head);
        p.restore();
    }
}

void TSideBarPainter::InvalidateItem(const TSideBarItem &item)
{
    const TSideBarViewInfo &layout = viewInfo();
    if (const TSideItemViewInfo *info = layout.ItemInfo(&item))
        bar_.update((QRegion(info->PictureBounds.inflated(1, 1).toQRect()) + QRegion(info->TextBounds.toQRect())) &
                    QRegion(layout.ItemsArea().toQRect()));
}

void TSideBarPainter::InvalidateItemPicture(const TSideBarItem &item)
{
    const TSideBarViewInfo &layout = viewInfo();
    const TSideItemViewInfo *info = layout.ItemInfo(&item);
    if (!info)
        return;
    const QRegion ring = QRegion(info->frameBounds().inflated(1, 1).intersected(layout.ItemsArea()).toQRect()) -
                         QRegion(info->PictureBounds.toQRect());
    bar_.update(ring);
}

void TSideBarPainter::DrawSunkenBorder()
{
    using namespace platform;
    const Rect client = bar_.clientBounds();
    fillRect(canvas(), {client.left, client.top, client.right, client.top + 1}, colors::clBtnShadow);
    fillRect(canvas(), {client.left, client.top, client.left + 1, client.bottom}, colors::clBtnShadow);
    fillRect(canvas(), {client.left, client.bottom - 1, client.right, client.bottom}, colors::clBtnHighlight);
    fillRect(canvas(), {client.right - 1, client.top + 1, client.right, client.bottom}, colors::clBtnHighlight);
    forEachSide(client, [this](const Rect &side) { ExcludeClip(side); });
}

void TSideBarPainter::DrawHeaderCaption(const TSideGroupViewInfo &info, const Rect &r, TextFormat format)
{
    using namespace platform;
    const QFont &font = bar_.groupFont();
    const QString &caption = info.Group->caption();
    // The longest prefix that fits the header's width.
    QString cut = caption;
    while (!cut.isEmpty() && textWidth(font, cut) > info.HeaderBounds.width())
        cut.chop(1);

    canvas().setFont(font);
    canvas().setPen(bar_.groupFontColor());
    Rect text = r;
    drawText(canvas(), cut, text, format);

    const Rect box = MeasureText(font, cut, r, format);
    const int width = std::min(box.width(), r.width());
    const int left = r.left + (r.width() - width) / 2;
    const int top = r.top + (r.height() - box.height()) / 2;
    ExcludeClip({left, top, left + width, top + box.height()});
}

void TSideBarPainter::DrawTrackingHeader(const TSideGroupViewInfo &info)
{
    using namespace platform;
    const Rect &R = info.HeaderBounds;
    const Rect r = R.inflated(-1, -1);
    constexpr TextFormat format = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    // The caption's cell is opaque button face; painting the face under it
    // first gives the same pixels.
    fillRect(canvas(), r, colors::clBtnFace);
    DrawHeaderCaption(info, r, format);

    const bool tracked = info.Group == bar_.trackedGroup();
    const bool pressed = tracked && bar_.trackedGroupPressed();
    const QColor outerTopLeft = pressed ? colors::cl3DDkShadow : colors::clBtnHighlight;
    const QColor outerBottomRight = pressed   ? colors::clBtnHighlight
                                    : tracked ? colors::cl3DDkShadow
                                              : colors::clBtnShadow;
    fillRect(canvas(), {R.left, R.top, R.right, R.top + 1}, outerTopLeft);
    fillRect(canvas(), {R.left, R.top, R.left + 1, R.bottom}, outerTopLeft);
    fillRect(canvas(), {R.left, R.bottom - 1, R.right, R.bottom}, outerBottomRight);
    fillRect(canvas(), {R.right - 1, R.top, R.right, R.bottom}, outerBottomRight);
    if (pressed) {
        fillRect(canvas(), {r.left, r.top, r.right, r.top + 1}, colors::clBtnShadow);
        fillRect(canvas(), {r.left, r.top, r.left + 1, r.bottom}, colors::clBtnShadow);
    } else if (tracked) {
        fillRect(canvas(), {r.left, r.bottom - 1, r.right, r.bottom}, colors::clBtnShadow);
        fillRect(canvas(), {r.right - 1, r.top, r.right, r.bottom}, colors::clBtnShadow);
    }
    ExcludeClip(R);
}

// ---- styles

std::unique_ptr<TSideBarViewInfo> TSideBarStandardPainter::CreateViewInfo()
{
    return std::make_unique<TSideBarStandardViewInfo>(bar_);
}

void TSideBarStandardPainter::DrawGroupHeader(const TSideGroupViewInfo &info)
{
    using namespace platform;
    const Rect inside = drawEdge(canvas(), info.HeaderBounds, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DrawHeaderCaption(info, inside, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ExcludeClip(info.HeaderBounds);
}

std::unique_ptr<TSideBarViewInfo> TSideBarFlatPainter::CreateViewInfo()
{
    return std::make_unique<TSideBarFlatViewInfo>(bar_);
}

void TSideBarFlatPainter::DrawBorder()
{
    DrawSunkenBorder();
}

void TSideBarFlatPainter::DrawGroupHeader(const TSideGroupViewInfo &info)
{
    DrawTrackingHeader(info);
    if (info.Group != bar_.activeGroup())
        return;
    const Rect &R = info.HeaderBounds;
    const Rect line{R.left, R.bottom, R.right, R.bottom + 1};
    platform::fillRect(canvas(), line, colors::clBtnHighlight);
    ExcludeClip(line);
}

std::unique_ptr<TSideBarViewInfo> TSideBarW2KPainter::CreateViewInfo()
{
    return std::make_unique<TSideBarW2KViewInfo>(bar_);
}

std::unique_ptr<TSideBarViewInfo> TSideBarXPPainter::CreateViewInfo()
{
    return std::make_unique<TSideBarXPViewInfo>(bar_);
}

void TSideBarXPPainter::DrawBorder()
{
    DrawSunkenBorder();
}

void TSideBarXPPainter::DrawGroupHeader(const TSideGroupViewInfo &info)
{
    DrawTrackingHeader(info);
}

void TSideBarXPPainter::FillPictureBack(const TSideItemViewInfo &info, const Rect &r)
{
    if (isHighlighted(*info.Item))
        platform::fillRect(canvas(), r, LightHighlightColor());
    else
        FillBackground(r);
}

void TSideBarXPPainter::DrawPictureFrame(const TSideItemViewInfo &info)
{
    if (isHighlighted(*info.Item))
        platform::frameRect(canvas(), info.PictureFrame(), colors::clActiveCaption);
}

void TSideBarXPPainter::InvalidateItemPicture(const TSideBarItem &item)
{
    if (const TSideItemViewInfo *info = viewInfo().ItemInfo(&item))
        bar_.update(info->PictureFrame().toQRect());
}
