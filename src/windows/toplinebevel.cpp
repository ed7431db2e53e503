#include "windows/toplinebevel.h"

#include "platform/colors.h"
#include "platform/drawing.h"

#include <QPainter>

namespace windows {

TopLineBevel::TopLineBevel(QWidget *parent, const QRect &geometry) : QWidget(parent)
{
    setGeometry(geometry);
}

void TopLineBevel::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    drawLine(p, {0, 0}, {width(), 0}, colors::clBtnShadow);
    drawLine(p, {0, 1}, {width(), 1}, colors::clBtnHighlight);
}

} // namespace windows
