#include "platform/drawing.h"

#include "platform/colors.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdlib>

namespace platform {

void fillRect(QPainter &p, const Rect &r, const QColor &color)
{
    if (!r.isEmpty())
        p.fillRect(r.toQRect(), color);
}

void frameRect(QPainter &p, const Rect &r, const QColor &color)
{
    if (r.isEmpty())
        return;
    fillRect(p, {r.left, r.top, r.right, r.top + 1}, color);
    fillRect(p, {r.left, r.bottom - 1, r.right, r.bottom}, color);
    fillRect(p, {r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
    fillRect(p, {r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void drawLine(QPainter &p, QPoint from, QPoint to, const QColor &color)
{
    // Bresenham, stopping one pixel short of the end point.
    const int dx = std::abs(to.x() - from.x()), sx = from.x() < to.x() ? 1 : -1;
    const int dy = -std::abs(to.y() - from.y()), sy = from.y() < to.y() ? 1 : -1;
    int x = from.x(), y = from.y(), err = dx + dy;
    while (x != to.x() || y != to.y()) {
        p.fillRect(x, y, 1, 1, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

namespace {

struct BorderColors {
    QColor topLeft, bottomRight;
};

// One ring of a 3-D edge: the top and left lines first, then the bottom and
// right lines at full length, so the shadow colour owns the two far corners.
Rect drawBorder(QPainter &p, const Rect &r, const BorderColors &colors, EdgeSides sides)
{
    if (sides & BF_TOP)
        fillRect(p, {r.left, r.top, r.right, r.top + 1}, colors.topLeft);
    if (sides & BF_LEFT)
        fillRect(p, {r.left, r.top, r.left + 1, r.bottom}, colors.topLeft);
    if (sides & BF_BOTTOM)
        fillRect(p, {r.left, r.bottom - 1, r.right, r.bottom}, colors.bottomRight);
    if (sides & BF_RIGHT)
        fillRect(p, {r.right - 1, r.top, r.right, r.bottom}, colors.bottomRight);
    return {r.left + (sides & BF_LEFT ? 1 : 0), r.top + (sides & BF_TOP ? 1 : 0), r.right - (sides & BF_RIGHT ? 1 : 0),
            r.bottom - (sides & BF_BOTTOM ? 1 : 0)};
}

// The classic scheme: the outer ring uses the light and dark-shadow pair,
// the inner ring the highlight and shadow pair; flat edges are one shadow
// line around a face-coloured ring.
BorderColors outerColors(EdgeStyle edgeStyle)
{
    using namespace colors;
    if (edgeStyle & BDR_RAISEDOUTER)
        return {cl3DLight, cl3DDkShadow};
    return {clBtnShadow, clBtnHighlight};
}

BorderColors innerColors(EdgeStyle edgeStyle)
{
    using namespace colors;
    if (edgeStyle & BDR_RAISEDINNER)
        return {clBtnHighlight, clBtnShadow};
    return {cl3DDkShadow, cl3DLight};
}

} // namespace

Rect drawEdge(QPainter &p, const Rect &r, EdgeStyle edgeStyle, EdgeSides sides)
{
    const bool flat = sides & BF_FLAT;
    Rect inside = r;
    if (edgeStyle & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        inside = drawBorder(
            p, inside, flat ? BorderColors{colors::clBtnShadow, colors::clBtnShadow} : outerColors(edgeStyle), sides);
    if (edgeStyle & (BDR_RAISEDINNER | BDR_SUNKENINNER))
        inside = drawBorder(p, inside,
                            flat ? BorderColors{colors::clBtnFace, colors::clBtnFace} : innerColors(edgeStyle), sides);
    if (sides & BF_MIDDLE)
        fillRect(p, inside, colors::clBtnFace);
    return inside;
}

void drawFocusRect(QPainter &p, const Rect &r)
{
    if (r.isEmpty())
        return;
    // Every other pixel of the outline, counted from the top-left corner, so
    // drawing the same rectangle twice restores what was under it.
    QList<QPoint> dots;
    auto dot = [&](int x, int y) {
        if (((x - r.left) + (y - r.top)) % 2 == 0)
            dots.append({x, y});
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.drawPoints(dots.constData(), static_cast<int>(dots.size()));
    p.restore();
}

namespace {

// How one laid-out line is measured and drawn.
class TextLines {
public:
    TextLines(const QFont &font, TextFormat format)
        : metrics_(font), qtFlags_((format & DT_NOPREFIX ? 0 : int(Qt::TextShowMnemonic)) |
                                   (format & DT_EXPANDTABS ? int(Qt::TextExpandTabs) : 0))
    {}

    int width(const QString &line) const { return metrics_.size(qtFlags_, line).width(); }
    int lineHeight() const { return metrics_.height(); }
    int qtFlags() const { return qtFlags_; }

    QString elided(const QString &line, int available) const
    {
        if (width(line) <= available)
            return line;
        static const QString dots = QStringLiteral("...");
        QString kept = line;
        while (!kept.isEmpty() && width(kept + dots) > available)
            kept.chop(1);
        return kept + dots;
    }

    // Breaks one paragraph at spaces so each line fits; a word wider than
    // the whole width stands alone on its line.
    QStringList wrapped(const QString &paragraph, int available) const
    {
        QStringList lines;
        QString current;
        for (const QString &word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && width(candidate) > available) {
                lines.append(current);
                current = word;
            } else {
                current = candidate;
            }
        }
        lines.append(current);
        return lines;
    }

private:
    QFontMetrics metrics_;
    int qtFlags_;
};

QStringList layoutLines(const TextLines &lines, const QString &text, int width, TextFormat format)
{
    QStringList result;
    if (format & DT_SINGLELINE) {
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" "));
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        result.append(line);
    } else {
        QString normalized = text;
        normalized.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString &paragraph : normalized.split(QLatin1Char('\n'))) {
            if (format & DT_WORDBREAK)
                result.append(lines.wrapped(paragraph, width));
            else
                result.append(paragraph);
        }
    }
    if (format & DT_END_ELLIPSIS)
        for (QString &line : result)
            line = lines.elided(line, width);
    return result;
}

} // namespace

Rect measureText(const QFont &font, const QString &text, const Rect &r, TextFormat format)
{
    const TextLines lines(font, format);
    const QStringList laidOut = layoutLines(lines, text, r.width(), format);
    int widest = 0;
    for (const QString &line : laidOut)
        widest = std::max(widest, lines.width(line));
    return {r.left, r.top, r.left + widest, r.top + static_cast<int>(laidOut.size()) * lines.lineHeight()};
}

int drawText(QPainter &p, const QString &text, Rect &r, TextFormat format)
{
    if (format & DT_CALCRECT) {
        r = measureText(p.font(), text, r, format);
        return r.height();
    }
    const TextLines lines(p.font(), format);
    const QStringList laidOut = layoutLines(lines, text, r.width(), format);
    const int height = static_cast<int>(laidOut.size()) * lines.lineHeight();

    // Vertical placement applies to single lines only, as classic Windows does it.
    int y = r.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = r.top + (r.height() - height) / 2;
        else if (format & DT_BOTTOM)
            y = r.bottom - height;
    }

    p.save();
    if (!(format & DT_NOCLIP))
        p.setClipRect(r.toQRect(), p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    for (const QString &line : laidOut) {
        const int w = lines.width(line);
        int x = r.left;
        if (format & DT_CENTER)
            x = r.left + (r.width() - w) / 2;
        else if (format & DT_RIGHT)
            x = r.right - w;
        p.drawText(QRect(x, y, w, lines.lineHeight()), Qt::AlignLeft | Qt::AlignTop | lines.qtFlags(), line);
        y += lines.lineHeight();
    }
    p.restore();
    return height;
}

int textWidth(const QFont &font, const QString &text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

int textHeight(const QFont &font)
{
    return QFontMetrics(font).height();
}

ClipExcluder::ClipExcluder(QPainter &p, const Rect &area) : painter_(p), region_(area.toQRect())
{
    if (p.hasClipping())
        region_ &= p.clipRegion();
    painter_.setClipRegion(region_);
}

void ClipExcluder::exclude(const Rect &r)
{
    region_ -= QRegion(r.toQRect());
    painter_.setClipRegion(region_);
}

} // namespace platform
