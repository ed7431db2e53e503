#include "platform/colors.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <cmath>
#include <map>

namespace platform::colors {

namespace {

struct SystemColorEntry {
    QColor classic;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// In the order of SystemColorId.
const SystemColorEntry systemColors[] = {
    {{212, 208, 200}, QPalette::Active, QPalette::Button},          // BtnFace
    {{128, 128, 128}, QPalette::Active, QPalette::Dark},            // BtnShadow
    {{255, 255, 255}, QPalette::Active, QPalette::Light},           // BtnHighlight
    {{64, 64, 64}, QPalette::Active, QPalette::Shadow},             // DkShadow3D
    {{212, 208, 200}, QPalette::Active, QPalette::Midlight},        // Light3D
    {{255, 255, 255}, QPalette::Active, QPalette::Base},            // Window
    {{0, 0, 0}, QPalette::Active, QPalette::Text},                  // WindowText
    {{0, 0, 0}, QPalette::Active, QPalette::WindowText},            // WindowFrame
    {{10, 36, 106}, QPalette::Active, QPalette::Highlight},         // Highlight
    {{255, 255, 255}, QPalette::Active, QPalette::HighlightedText}, // HighlightText
    {{212, 208, 200}, QPalette::Active, QPalette::Window},          // Menu
    {{0, 0, 0}, QPalette::Active, QPalette::WindowText},            // MenuText
    {{255, 255, 225}, QPalette::Active, QPalette::ToolTipBase},     // InfoBk
    {{0, 0, 0}, QPalette::Active, QPalette::ToolTipText},           // InfoText
    {{128, 128, 128}, QPalette::Disabled, QPalette::Text},          // GrayText
    {{10, 36, 106}, QPalette::Active, QPalette::Highlight},         // ActiveCaption
    {{0, 0, 0}, QPalette::Active, QPalette::ButtonText},            // BtnText
};

bool &follows()
{
    static bool value = false;
    return value;
}

double luminance(const QColor &color)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

const SystemColorEntry &entry(SystemColorId id)
{
    return systemColors[static_cast<int>(id)];
}

// The system colours of one widget's palette, set again when the
// application's palette changes.
class PaletteColors : public QObject {
public:
    explicit PaletteColors(QWidget &widget) : QObject(&widget), widget_(widget) { widget.installEventFilter(this); }

    void remember(QPalette::ColorRole role, const Color &color)
    {
        if (color.isSystem())
            roles_[role] = color;
        else
            roles_.erase(role);
    }

protected:
    // A new scheme reaches a child widget as a change of the palette it
    // inherits; the colours are set again only where they differ, so the
    // change this makes ends here.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ApplicationPaletteChange && event->type() != QEvent::PaletteChange)
            return false;
        QPalette palette = widget_.palette();
        bool changed = false;
        for (const auto &[role, color] : roles_)
            if (palette.color(role) != color.resolved()) {
                palette.setColor(role, color);
                changed = true;
            }
        if (changed)
            widget_.setPalette(palette);
        return false;
    }

private:
    QWidget &widget_;
    std::map<QPalette::ColorRole, Color> roles_;
};

} // namespace

void setPaletteColor(QWidget &widget, QPalette::ColorRole role, const Color &color)
{
    auto *colors = widget.findChild<PaletteColors *>(QString(), Qt::FindDirectChildrenOnly);
    if (!colors && color.isSystem())
        colors = new PaletteColors(widget);
    if (colors)
        colors->remember(role, color);
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

QColor systemColor(SystemColorId id)
{
    const SystemColorEntry &color = entry(id);
    return follows() ? QGuiApplication::palette().color(color.group, color.role) : color.classic;
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void setFollowsPalette(bool value)
{
    follows() = value;
}

bool followsPalette()
{
    return follows();
}

QPalette classicPalette()
{
    QPalette palette;
    for (const SystemColorEntry &color : systemColors)
        if (color.group == QPalette::Active)
            palette.setColor(color.role, color.classic);
    palette.setColor(QPalette::AlternateBase, entry(SystemColorId::BtnFace).classic);
    palette.setColor(QPalette::Mid, entry(SystemColorId::BtnShadow).classic);
    const QColor gray = entry(SystemColorId::GrayText).classic;
    palette.setColor(QPalette::PlaceholderText, gray);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, gray);
    return palette;
}

} // namespace platform::colors
