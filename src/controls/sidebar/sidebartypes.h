#pragma once

// Enumerations of the side bar; the order of the values is their number.

enum TsbPaintStyle { sbpsStandard, sbpsFlat, sbpsXP, sbpsW2K };
enum TSideGroupIconType { sgLargeIcon, sgSmallIcon };
enum TSideBarFillStyle { bfsNone, bfsHorz, bfsVert };
// Where the drop mark of an item drag stands relative to its item.
enum TDropPlace { dpBefore, dpAfter, dpNone };
enum TDragMode { dmManual, dmAutomatic };
// The outer border around the bar's client area.
enum TBorderStyle { bsNone, bsSingle };
// Phase of a drag over a bar, as passed to OnDragOver.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
