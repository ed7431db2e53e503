#pragma once

#include <QFont>
#include <QString>

namespace platform {

// Fonts are described as the windows' set-up code declares them (face, points
// at 96 dots per inch) and resolved to installed faces: "MS Sans Serif" 8 pt
// becomes "DejaVu Sans Condensed" at 11 pixels, whose cell height is 13 and
// whose "0" is 6 pixels wide. Layout code measures the real font.
struct FontSpec {
    QString face = QStringLiteral("MS Sans Serif");
    int points = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

QFont makeFont(const FontSpec &spec = {});
inline QFont defaultFont()
{
    return makeFont();
}
inline QFont boldFont()
{
    return makeFont({.bold = true});
}
int pointsToPixels(int points); // at 96 dots per inch, rounded

} // namespace platform
