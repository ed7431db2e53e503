#include "editbuttonface.h"

#include "colors.h"
#include "drawing.h"

#include <algorithm>

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
    const auto found = std::find_if(faces_.begin(), faces_.end(), [&](const Entry &e) { return e.key == key; });
    if (found != faces_.end())
        return found->image;
    faces_.push_back({key, paintButtonFace(key)});
    return faces_.back().image;
}

namespace {

// A down arrow seven pixels wide and four high, its top-left at (x, y).
void drawArrow(QPainter &p, int x, int y, const QColor &color)
{
    for (int row = 0; row < 4; ++row)
        platform::fillRect(p, {x + row, y + row, x + 7 - row, y + row + 1}, color);
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
    const int x = (key.size.width() - 7) / 2 + shift;
    const int y = (key.size.height() - 4) / 2 + shift;
    if (key.enabled) {
        drawArrow(p, x, y, colors::clBtnText);
    } else {
        drawArrow(p, x + 1, y + 1, colors::clBtnHighlight);
        drawArrow(p, x, y, colors::clBtnShadow);
    }
    return image;
}

} // namespace combo
