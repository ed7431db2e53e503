#pragma once

#include "platform/rect.h"

#include <QColor>

class QPainter;

namespace flat {

// Frame kinds shared by the flat button and the flat panel. Every outline is
// drawn without a fill; "inset" shrinks the rectangle by one pixel a side.
enum FlatFrameStyle {
    ffNone = 0,
    ffBorder = 1,        // outline in the border colour
    ffThinSunken = 2,    // thin sunken edge, inset, button-face outline
    ffErase = 3,         // two outlines in the face colour
    ffWindowFrame = 4,   // outline in the window-frame colour
    ffThinRaised = 5,    // thin raised edge, inset, button-face outline
    ffSunken = 6,        // two-pixel sunken edge
    ffRaised = 7,        // two-pixel raised edge
    ffFrameShadow = 8,   // window-frame outline, inset, shadow outline
    ffClassicRaised = 9, // the classic raised push-button border
};

void DrawFlatFrame(const QColor &face, const QColor &border, FlatFrameStyle style, platform::Rect rect,
                   QPainter &canvas);

} // namespace flat
