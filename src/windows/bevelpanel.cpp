#include "windows/bevelpanel.h"

#include "platform/accessibility.h"
#include "platform/drawing.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace windows {

BevelPanel::BevelPanel(QWidget *parent, const QRect &geometry) : QWidget(parent)
{
    platform::registerAccessible<BevelPanel>(
        [](BevelPanel *panel) -> QAccessibleInterface * { return new QAccessibleWidget(panel, QAccessible::Pane); });
    setGeometry(geometry);
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    const Rect outer = Rect::fromQRect(rect());
    const Rect inner = drawEdge(p, outer, BDR_SUNKENOUTER);
    drawEdge(p, inner, BDR_RAISEDINNER);
}

} // namespace windows
