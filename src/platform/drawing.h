#pragma once

#include "platform/rect.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRegion>
#include <QString>

// Drawing primitives the controls are written against, with classic
// Windows' pixel rules (exclusive right/bottom, line end point not drawn).
namespace platform {

void fillRect(QPainter &p, const Rect &r, const QColor &color);
void frameRect(QPainter &p, const Rect &r, const QColor &color);         // 1-pixel frame inside r
void drawLine(QPainter &p, QPoint from, QPoint to, const QColor &color); // `to` itself not drawn

// 3-D edges. Outer and inner borders, raised or sunken, on the chosen sides.
enum EdgeBorder {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
Q_DECLARE_FLAGS(EdgeStyle, EdgeBorder)
enum EdgeSide {
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x800, // also fill the inside with clBtnFace
    BF_FLAT = 0x4000,  // one-pixel shadow-coloured frame instead of 3-D
};
Q_DECLARE_FLAGS(EdgeSides, EdgeSide)
// Draws the edge and returns r shrunk by the borders drawn.
Rect drawEdge(QPainter &p, const Rect &r, EdgeStyle edgeStyle, EdgeSides sides = BF_RECT);

void drawFocusRect(QPainter &p, const Rect &r); // dotted, drawn by inverting pixels

// Text drawing and measuring.
enum TextFormatFlag {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};
Q_DECLARE_FLAGS(TextFormat, TextFormatFlag)
// Draws text in r with the painter's font and pen; returns the text height.
// With DT_CALCRECT nothing is drawn and r is set to the text's extent.
// DT_VCENTER and DT_BOTTOM apply to DT_SINGLELINE text only; without
// DT_NOPREFIX "&" underlines the next character and "&&" shows one "&";
// DT_END_ELLIPSIS ends a line that does not fit with "...".
int drawText(QPainter &p, const QString &text, Rect &r, TextFormat format);
// The extent drawText gives the text in r, measured without a painter.
Rect measureText(const QFont &font, const QString &text, const Rect &r, TextFormat format);
int textWidth(const QFont &font, const QString &text);
int textHeight(const QFont &font); // the font's cell height (13 for the default font)

// Painting that must not overdraw what was already drawn: each drawn element
// is excluded from the clip before the next, and the background fills last.
class ClipExcluder {
public:
    ClipExcluder(QPainter &p, const Rect &area);
    void exclude(const Rect &r);
    const QRegion &region() const { return region_; }

private:
    QPainter &painter_;
    QRegion region_;
};

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::EdgeStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(platform::EdgeSides)
Q_DECLARE_OPERATORS_FOR_FLAGS(platform::TextFormat)
