#include "controls/grid/cellpainting.h"

#include "platform/drawing.h"

#include <QFontMetrics>

namespace grid {

namespace {

QString shortenedToFit(const QString &text, const QFontMetrics &fm, int room)
{
    if (fm.horizontalAdvance(text) <= room)
        return text;
    QString shown = text;
    for (int n = 1; n < text.size(); ++n) {
        shown = text.left(text.size() - n - 1) + QStringLiteral("...");
        if (fm.horizontalAdvance(shown) <= room)
            break;
    }
    return shown;
}

void paintWrapped(QPainter &p, const platform::Rect &rect, int leftMargin, int rightMargin, bool endEllipsis,
                  TextLayout layout, TAlignment alignment, const QString &text, int dy, int dx)
{
    platform::Rect box{rect.left + dx + leftMargin, rect.top + dy, rect.right - dx - rightMargin, rect.bottom - dy};
    if (dx > 0)
        box.bottom += 1;
    platform::TextFormat format = WrappedTextFormat;
    format |= alignment == taRightJustify ? platform::DT_RIGHT
              : alignment == taCenter     ? platform::DT_CENTER
                                          : platform::DT_LEFT;
    if (endEllipsis)
        format |= platform::DT_END_ELLIPSIS;
    if (layout != TextLayout::Top) {
        platform::Rect measured = box;
        int h = platform::drawText(p, text, measured, format | platform::DT_CALCRECT);
        int top = layout == TextLayout::Center ? (box.top + box.bottom) / 2 - h / 2 : box.bottom - h;
        box.top = top;
    }
    p.save();
    p.setClipRect(rect.toQRect(), Qt::IntersectClip);
    platform::drawText(p, text, box, format);
    p.restore();
}

} // namespace

void PaintCellText(QPainter &p, const platform::Rect &rect, const QColor &background, int leftMargin, int rightMargin,
                   bool endEllipsis, bool wordWrap, TextLayout layout, TAlignment alignment, const QString &text,
                   int dy, int dx)
{
    if (rect.isEmpty())
        return;
    platform::fillRect(p, rect, background);
    if (text.isEmpty())
        return;
    if (wordWrap) {
        paintWrapped(p, rect, leftMargin, rightMargin, endEllipsis, layout, alignment, text, dy, dx);
        return;
    }
    QFontMetrics fm(p.font());
    QString shown = endEllipsis ? shortenedToFit(text, fm, rect.width() - dx) : text;
    int w = fm.horizontalAdvance(shown);
    int x = alignment == taRightJustify ? rect.right - w - 3
            : alignment == taCenter     ? rect.left + rect.width() / 2 - w / 2
                                        : rect.left + dx;
    int y = rect.top + dy;
    QPoint baseline(x, y + fm.ascent());
    // Clipping costs; most cell texts fit and need none.
    if (x >= rect.left && x + w <= rect.right && y + fm.height() <= rect.bottom) {
        p.drawText(baseline, shown);
        return;
    }
    p.save();
    p.setClipRect(rect.toQRect(), Qt::IntersectClip);
    p.drawText(baseline, shown);
    p.restore();
}

void drawIndicatorGlyph(QPainter &p, IndicatorGlyph glyph, int x, int y)
{
    // One string per pixel row; '#' is black, anything else transparent.
    static const char *const arrow[IndicatorGlyphHeight] = {"#     ", "##    ", "###   ", "####  ", "##### ", "######",
                                                            "##### ", "####  ", "###   ", "##    ", "#     "};
    static const char *const ibeam[IndicatorGlyphHeight] = {"##  ##", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  ",
                                                            "  ##  ", "  ##  ", "  ##  ", "  ##  ", "##  ##"};
    static const char *const star[IndicatorGlyphHeight] = {"      ", "      ", "      ", " # # #", "  ### ", "   #  ",
                                                           "  ### ", " # # #", "      ", "      ", "      "};
    const char *const *rows = glyph == DBEDITEX ? ibeam : glyph == DBINSERTEX ? star : arrow;
    for (int row = 0; row < IndicatorGlyphHeight; ++row)
        for (int col = 0; col < IndicatorGlyphWidth; ++col)
            if (rows[row][col] == '#')
                p.fillRect(x + col, y + row, 1, 1, Qt::black);
}

} // namespace grid
