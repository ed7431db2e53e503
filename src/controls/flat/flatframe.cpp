#include "controls/flat/flatframe.h"

#include "platform/colors.h"
#include "platform/drawing.h"

namespace flat {

using platform::Rect;
namespace colors = platform::colors;

void DrawFlatFrame(const QColor &face, const QColor &border, FlatFrameStyle style, Rect rect, QPainter &canvas)
{
    const auto inset = [&rect] { rect = rect.inflated(-1, -1); };
    switch (style) {
    case ffBorder: platform::frameRect(canvas, rect, border); break;
    case ffThinSunken:
        platform::drawEdge(canvas, rect, platform::BDR_SUNKENOUTER);
        inset();
        platform::frameRect(canvas, rect, colors::clBtnFace);
        break;
    case ffErase:
        platform::frameRect(canvas, rect, face);
        inset();
        platform::frameRect(canvas, rect, face);
        break;
    case ffWindowFrame: platform::frameRect(canvas, rect, colors::clWindowFrame); break;
    case ffThinRaised:
        platform::drawEdge(canvas, rect, platform::BDR_RAISEDINNER);
        inset();
        platform::frameRect(canvas, rect, colors::clBtnFace);
        break;
    case ffSunken: platform::drawEdge(canvas, rect, platform::EDGE_SUNKEN); break;
    case ffRaised: platform::drawEdge(canvas, rect, platform::EDGE_RAISED); break;
    case ffFrameShadow:
        platform::frameRect(canvas, rect, colors::clWindowFrame);
        inset();
        platform::frameRect(canvas, rect, colors::clBtnShadow);
        break;
    case ffClassicRaised:
        platform::frameRect(canvas, rect, colors::clWindowFrame);
        platform::frameRect(canvas, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, colors::clBtnHighlight);
        inset();
        platform::frameRect(canvas, rect, colors::clBtnFace);
        inset();
        // The shadow runs along the bottom and up the right side, over the
        // highlight outline's far edges.
        platform::drawLine(canvas, {rect.left - 1, rect.bottom}, {rect.right, rect.bottom}, colors::clBtnShadow);
        platform::drawLine(canvas, {rect.right, rect.bottom}, {rect.right, rect.top - 2}, colors::clBtnShadow);
        break;
    default: break;
    }
}

} // namespace flat
