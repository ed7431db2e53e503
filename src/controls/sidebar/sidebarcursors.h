#pragma once

#include <QCursor>

// The bar's own pointer shapes, known by their numbers in the cursor table.
enum TSideBarCursor {
    crSideBarDrag = -1121,       // moving an item
    crSideBarDragCopy = -1122,   // copying an item
    crSideBarDragDelete = -1123, // deleting by drag
    crSideBarGroup = -1125,      // over a group header
};

QCursor SideBarCursor(TSideBarCursor number);
