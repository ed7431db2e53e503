#pragma once

#include <QRect>
#include <QSize>

namespace combo {

enum TDropDownAlign { daLeft, daRight, daCenter };

// The 3-D frame around the edit and around the pop-up list.
inline constexpr int kEdgeWidth = 2;

// Height of an auto-sized edit: the font's character height plus eight
// border heights for the sunken 3-D look.
int autoHeight(int charHeight);

// The drop-down button inside the edit's client area (client coordinates):
// square while one and a half times its width fits, else the client height.
QRect buttonRect(QSize client, int buttonWidth);

// Outer height of a list showing `rows` rows, and a height snapped down to
// whole rows (at least one).
int listHeight(int rows, int itemHeight);
int snapToRows(int height, int itemHeight);

struct DropDownPlacement {
    QRect control;  // the edit, in screen coordinates
    QSize list;     // the wanted outer size of the list
    QRect workArea; // of the screen nearest the edit
    TDropDownAlign align = daLeft;
    int itemHeight = 1;
};

// Below the edit, or above it when it fits only there or more room lies
// above, shrunk to the room on that side and kept inside the work area.
QRect placeDropDownList(const DropDownPlacement &p);

} // namespace combo
