#pragma once

#include <QColor>
#include <optional>

#include <QPalette>

class QWidget;

// The named system colours are the desktop's: each stands for one role of
// the application's palette and is read where it is drawn, so a dark or
// high-contrast scheme carries into every window and a change of scheme
// repaints them. Without a desktop (the offscreen platform the tests run
// on) they keep the classic Windows values. The fixed colours (clRed,
// clTeal …) never change.
namespace platform::colors {

enum class SystemColorId {
    BtnFace,
    BtnShadow,
    BtnHighlight,
    DkShadow3D,
    Light3D,
    Window,
    WindowText,
    WindowFrame,
    Highlight,
    HighlightText,
    Menu,
    MenuText,
    InfoBk,
    InfoText,
    GrayText,
    ActiveCaption,
    BtnText,
};

QColor systemColor(SystemColorId id);

class SystemColor {
public:
    constexpr explicit SystemColor(SystemColorId id) : id_(id) {}
    operator QColor() const { return systemColor(id_); }
    QRgb rgb() const { return systemColor(id_).rgb(); }
    constexpr SystemColorId id() const { return id_; }

private:
    SystemColorId id_;
};

inline constexpr SystemColor clBtnFace{SystemColorId::BtnFace};
inline constexpr SystemColor clBtnShadow{SystemColorId::BtnShadow};
inline constexpr SystemColor clBtnHighlight{SystemColorId::BtnHighlight};
inline constexpr SystemColor cl3DDkShadow{SystemColorId::DkShadow3D};
inline constexpr SystemColor cl3DLight{SystemColorId::Light3D};
inline constexpr SystemColor clWindow{SystemColorId::Window};
inline constexpr SystemColor clWindowText{SystemColorId::WindowText};
inline constexpr SystemColor clWindowFrame{SystemColorId::WindowFrame};
inline constexpr SystemColor clHighlight{SystemColorId::Highlight};
inline constexpr SystemColor clHighlightText{SystemColorId::HighlightText};
inline constexpr SystemColor clMenu{SystemColorId::Menu};
inline constexpr SystemColor clMenuText{SystemColorId::MenuText};
inline constexpr SystemColor clInfoBk{SystemColorId::InfoBk};
inline constexpr SystemColor clInfoText{SystemColorId::InfoText};
inline constexpr SystemColor clGrayText{SystemColorId::GrayText};
inline constexpr SystemColor clActiveCaption{SystemColorId::ActiveCaption};
inline constexpr SystemColor clBtnText{SystemColorId::BtnText};

// A colour as a control keeps it: a fixed colour, or a named system colour
// that is looked up each time it is read, so what a control drew in
// clBtnFace is drawn in the desktop's button face after a change of scheme.
class Color {
public:
    Color() = default;
    Color(const QColor &fixed) : fixed_(fixed) {}
    Color(Qt::GlobalColor fixed) : fixed_(fixed) {}
    constexpr Color(SystemColor system) : system_(system.id()) {}

    operator QColor() const { return resolved(); }
    QColor resolved() const { return system_ ? systemColor(*system_) : fixed_; }
    bool isSystem() const { return system_.has_value(); }
    bool operator==(const Color &other) const { return system_ == other.system_ && fixed_ == other.fixed_; }

private:
    QColor fixed_;
    std::optional<SystemColorId> system_;
};

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

// Sets a role of the widget's own palette to the colour; a system colour is
// set again at each change of the application's palette, so widgets that
// draw from their palette follow the desktop's scheme too.
void setPaletteColor(QWidget &widget, QPalette::ColorRole role, const Color &color);

// The contrast ratio of two colours (1 to 21) from their relative
// luminance, and the least that text needs against what it is drawn on.
double contrast(const QColor &a, const QColor &b);
inline constexpr double minimumTextContrast = 4.5;

// Whether the system colours follow the application's palette (a desktop's
// scheme) or stay classic.
void setFollowsPalette(bool follows);
bool followsPalette();

// The application's palette where there is no desktop: the classic values
// in the roles the system colours stand for.
QPalette classicPalette();

} // namespace platform::colors
