#include "controls/flat/buttonlayout.h"

namespace flat {

namespace {

// Positions along the layout axis, for a glyph of length g and a caption of
// length t in a content length of `length`.
struct AxisPositions {
    int glyph = 0;
    int caption = 0;
};

AxisPositions placeAlongAxis(int length, int g, int t, int margin, int spacing, bool glyphFirst)
{
    if (margin == -1) {
        if (spacing == -1) {
            margin = (length - g - t) / 3;
            spacing = margin;
        } else {
            margin = (length - (g + spacing + t) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((length - margin - g) - t) / 2;
    }
    if (glyphFirst)
        return {margin, margin + g + spacing};
    const int glyph = length - margin - g;
    return {glyph, glyph - spacing - t};
}

} // namespace

ButtonContent layoutButtonContent(const ButtonContentInput &in)
{
    TButtonLayout layout = in.layout;
    if (in.rightToLeft && layout == blGlyphLeft)
        layout = blGlyphRight;
    else if (in.rightToLeft && layout == blGlyphRight)
        layout = blGlyphLeft;

    const int w = in.client.width();
    const int h = in.client.height();
    const int spacing = (in.caption.width() == 0 || in.glyph.width() == 0) ? 0 : in.spacing;

    QPoint glyph;
    QPoint caption;
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        const auto x =
            placeAlongAxis(w, in.glyph.width(), in.caption.width(), in.margin, spacing, layout == blGlyphLeft);
        glyph = {x.glyph, (h - in.glyph.height() + 1) / 2};
        caption = {x.caption, (h - in.caption.height() + 1) / 2};
    } else {
        const auto y =
            placeAlongAxis(h, in.glyph.height(), in.caption.height(), in.margin, spacing, layout == blGlyphTop);
        glyph = {(w - in.glyph.width() + 1) / 2, y.glyph};
        caption = {(w - in.caption.width() + 1) / 2, y.caption};
    }

    const QPoint shift = QPoint(in.client.left, in.client.top) + in.offset;
    glyph += shift;
    caption += shift;
    return {glyph, {caption.x(), caption.y(), caption.x() + in.caption.width(), caption.y() + in.caption.height()}};
}

} // namespace flat
