#pragma once

#include "platform/rect.h"

#include <QPoint>
#include <QSize>

namespace flat {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph and the caption of a button stand inside its content
// rectangle; paintEvent draws there and tests read it.
struct ButtonContent {
    QPoint glyphPos;
    platform::Rect captionRect;
};

struct ButtonContentInput {
    platform::Rect client; // the content rectangle
    QSize glyph{0, 0};     // 0 x 0 without a glyph
    QSize caption{0, 0};   // 0 x 0 for an empty caption
    TButtonLayout layout = blGlyphLeft;
    int margin = -1;     // -1 centres the whole
    int spacing = 4;     // -1 spreads glyph and caption
    QPoint offset{0, 0}; // (1, 1) while pressed
    bool rightToLeft = false;
};

ButtonContent layoutButtonContent(const ButtonContentInput &in);

} // namespace flat
