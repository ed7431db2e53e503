#include "platform/fonts.h"

#include <cmath>

namespace platform {

namespace {

// The classic bitmap faces are installed nowhere but on classic Windows;
// DejaVu Sans Condensed keeps their cell metrics at the same pixel sizes.
QString installedFace(const QString &face)
{
    static const QString sansFaces[] = {QStringLiteral("MS Sans Serif"), QStringLiteral("MS Shell Dlg"),
                                        QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                                        QStringLiteral("Arial")};
    for (const QString &sans : sansFaces)
        if (face.compare(sans, Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans Condensed");
    return face;
}

} // namespace

int pointsToPixels(int points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont makeFont(const FontSpec &spec)
{
    QFont font(installedFace(spec.face));
    font.setPixelSize(pointsToPixels(spec.points));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    // Full hinting rounds every advance to whole pixels, as the bitmap faces
    // had them, so the width of a text is the sum of its characters' widths.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

} // namespace platform
