#pragma once

#include <QColor>

// The named system colours of the classic Windows scheme, fixed so that the
// program looks the same under every desktop theme.
namespace platform::colors {

inline const QColor clBtnFace{212, 208, 200};
inline const QColor clBtnShadow{128, 128, 128};
inline const QColor clBtnHighlight{255, 255, 255};
inline const QColor cl3DDkShadow{64, 64, 64};
inline const QColor cl3DLight{212, 208, 200};
inline const QColor clWindow{255, 255, 255};
inline const QColor clWindowText{0, 0, 0};
inline const QColor clHighlight{10, 36, 106};
inline const QColor clHighlightText{255, 255, 255};
inline const QColor clMenu{212, 208, 200};
inline const QColor clMenuText{0, 0, 0};
inline const QColor clInfoBk{255, 255, 225};
inline const QColor clInfoText{0, 0, 0};
inline const QColor clGrayText{128, 128, 128};
inline const QColor clActiveCaption{10, 36, 106};
inline const QColor clBtnText{0, 0, 0};

inline const QColor clBlack{0, 0, 0};
inline const QColor clWhite{255, 255, 255};
inline const QColor clRed{255, 0, 0};
inline const QColor clMaroon{128, 0, 0};
inline const QColor clNavy{0, 0, 128};
inline const QColor clBlue{0, 0, 255};
inline const QColor clGreen{0, 128, 0};
inline const QColor clGray{128, 128, 128};
inline const QColor clSilver{192, 192, 192};
inline const QColor clTeal{0, 128, 128};

} // namespace platform::colors
