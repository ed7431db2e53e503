#pragma once

#include "controls/grid/gridtypes.h"
#include "platform/drawing.h"
#include "platform/rect.h"

#include <QColor>
#include <QPainter>
#include <QString>

namespace grid {

enum class TextLayout { Top, Center, Bottom };

// How wrapped cell text breaks into lines; the title tree measures with it.
inline constexpr platform::TextFormat WrappedTextFormat =
    platform::DT_EXPANDTABS | platform::DT_NOPREFIX | platform::DT_WORDBREAK;

// The text primitive every cell uses: fills `rect` with `background` and
// writes `text` in the painter's font and pen, offset by dx / dy, clipped to
// the cell. Right-aligned single-line text ends 3 pixels before the right edge.
void PaintCellText(QPainter &p, const platform::Rect &rect, const QColor &background, int leftMargin, int rightMargin,
                   bool endEllipsis, bool wordWrap, TextLayout layout, TAlignment alignment, const QString &text,
                   int dy, int dx);

// Indicator images, 6 x 11 pixels, drawn pixel for pixel.
enum IndicatorGlyph { DBGARROWEX = 0, DBEDITEX = 1, DBINSERTEX = 2 };
constexpr int IndicatorGlyphWidth = 6;
constexpr int IndicatorGlyphHeight = 11;
void drawIndicatorGlyph(QPainter &p, IndicatorGlyph glyph, int x, int y);

} // namespace grid
