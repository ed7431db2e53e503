#include "platform/colors.h"

#include <QGuiApplication>
#include <QPalette>

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

const SystemColorEntry &entry(SystemColorId id)
{
    return systemColors[static_cast<int>(id)];
}

} // namespace

QColor systemColor(SystemColorId id)
{
    const SystemColorEntry &color = entry(id);
    return follows() ? QGuiApplication::palette().color(color.group, color.role) : color.classic;
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
