#include "controls/sidebar/sidebarbackground.h"

#include "platform/drawing.h"

#include <algorithm>

void TSideBarBackGround::setBeginColor(const platform::colors::Color &color)
{
    if (color != beginColor_) {
        beginColor_ = color;
        changed();
    }
}

void TSideBarBackGround::setEndColor(const platform::colors::Color &color)
{
    if (color != endColor_) {
        endColor_ = color;
        changed();
    }
}

void TSideBarBackGround::setFillStyle(TSideBarFillStyle style)
{
    if (style != fillStyle_) {
        fillStyle_ = style;
        changed();
    }
}

void TSideBarBackGround::setStep(int step)
{
    if (step > 0 && step != step_) {
        step_ = step;
        changed();
    }
}

void TSideBarBackGround::changed()
{
    if (auto handler = OnChange)
        handler();
}

void TSideBarBackGround::FillGradient(QPainter &painter, const platform::Rect &r, QSize client) const
{
    const bool vertical = fillStyle_ == bfsHorz; // horizontal bands run down the bar
    const int extent = std::max(1, vertical ? client.height() : client.width());
    const int from = vertical ? r.top : r.left;
    const int to = vertical ? r.bottom : r.right;
    auto channel = [extent](int begin, int end, int pos) { return begin + (end - begin) * pos / extent; };
    const QColor begin = beginColor_, end = endColor_;
    for (int band = from - from % step_; band < to; band += step_) {
        const QColor color(channel(begin.red(), end.red(), band), channel(begin.green(), end.green(), band),
                           channel(begin.blue(), end.blue(), band));
        const platform::Rect strip = vertical ? platform::Rect{r.left, band, r.right, band + step_}
                                              : platform::Rect{band, r.top, band + step_, r.bottom};
        platform::fillRect(painter, strip.intersected(r), color);
    }
}
