#include "controls/combo/editbuttonface.h"

#include "platform/colors.h"
#include "platform/drawing.h"

#include <algorithm>
#include <functional>

namespace combo {

namespace colors = platform::colors;
using platform::Rect;

ButtonFaceCache &ButtonFaceCache::instance()
{
    static ButtonFaceCache cache;
    return cache;
}

QImage ButtonFaceCache::face(const ButtonFaceKey &key)
{
    // The faces are drawn in system colours: a new scheme draws them anew.
    const QRgb scheme[] = {QColor(colors::clBtnFace).rgb(), QColor(colors::clBtnText).rgb(),
                           QColor(colors::clBtnHighlight).rgb(), QColor(colors::clBtnShadow).rgb()};
    if (!std::equal(std::begin(scheme), std::end(scheme), std::begin(scheme_))) {
        faces_.clear();
        std::copy(std::begin(scheme), std::end(scheme), std::begin(scheme_));
    }
    const auto found = std::find_if(faces_.begin(), faces_.end(), [&](const Entry &e) { return e.key == key; });
    if (found != faces_.end())
        return found->image;
    faces_.push_back({key, paintButtonFace(key)});
    return faces_.back().image;
}

namespace {

using Sign = std::function<void(QPainter &p, int dx, int dy, const QColor &color)>;

// An arrow seven pixels wide and four high, its top-left at (x, y).
void drawArrow(QPainter &p, int x, int y, bool up, const QColor &color)
{
    for (int row = 0; row < 4; ++row) {
        const int inset = up ? 3 - row : row;
        platform::fillRect(p, {x + inset, y + row, x + 7 - inset, y + row + 1}, color);
    }
}

// The sign of a style centred in `size`, drawn in one colour at an offset.
Sign signOf(const ButtonFaceKey &key)
{
    const int w = key.size.width();
    const int h = key.size.height();
    switch (key.style) {
    case ebsDropDownEx:
        return [=](QPainter &p, int dx, int dy, const QColor &c) {
            drawArrow(p, (w - 7) / 2 + dx, (h - 4) / 2 + dy, false, c);
        };
    case ebsUpDownEx:
        return [=](QPainter &p, int dx, int dy, const QColor &c) {
            drawArrow(p, (w - 7) / 2 + dx, (h / 2 - 4) / 2 + dy, true, c);
            drawArrow(p, (w - 7) / 2 + dx, h / 2 + (h - h / 2 - 4) / 2 + dy, false, c);
        };
    case ebsEllipsisEx:
        return [=](QPainter &p, int dx, int dy, const QColor &c) {
            const int x = (w - 10) / 2 + dx;
            const int y = (h - 2) / 2 + dy;
            for (int dot = 0; dot < 3; ++dot)
                platform::fillRect(p, {x + 4 * dot, y, x + 4 * dot + 2, y + 2}, c);
        };
    case ebsPlusEx:
    case ebsMinusEx:
        return [=, plus = key.style == ebsPlusEx](QPainter &p, int dx, int dy, const QColor &c) {
            const int x = (w - 7) / 2 + dx;
            const int y = (h - 7) / 2 + dy;
            platform::fillRect(p, {x, y + 3, x + 7, y + 4}, c);
            if (plus)
                platform::fillRect(p, {x + 3, y, x + 4, y + 7}, c);
        };
    case ebsGlyphEx: break;
    }
    return {};
}

} // namespace

QImage paintButtonFace(const ButtonFaceKey &key)
{
    QImage image(key.size * key.devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(key.devicePixelRatio);
    QPainter p(&image);
    const Rect whole{0, 0, key.size.width(), key.size.height()};
    platform::fillRect(p, whole, colors::clBtnFace);
    if (key.pressed)
        platform::drawEdge(p, whole, platform::EDGE_RAISED, platform::BF_RECT | platform::BF_FLAT);
    else
        platform::drawEdge(p, whole, platform::EDGE_RAISED);

    const int shift = key.pressed ? 1 : 0;
    if (key.style == ebsGlyphEx) {
        const QSize glyph = key.glyph.deviceIndependentSize().toSize();
        if (!key.glyph.isNull())
            p.drawImage(QPoint((key.size.width() - glyph.width()) / 2 + shift,
                               (key.size.height() - glyph.height()) / 2 + shift),
                        key.glyph);
        return image;
    }
    const Sign sign = signOf(key);
    if (key.enabled) {
        sign(p, shift, shift, colors::clBtnText);
    } else {
        sign(p, shift + 1, shift + 1, colors::clBtnHighlight);
        sign(p, shift, shift, colors::clBtnShadow);
    }
    return image;
}

} // namespace combo
