#include "windows/groupbox.h"

#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/drawing.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace windows {

GroupBox::GroupBox(QWidget *parent, const QRect &geometry, const QString &caption) : QWidget(parent), caption_(caption)
{
    platform::registerAccessible<GroupBox>(
        [](GroupBox *box) -> QAccessibleInterface * { return new QAccessibleWidget(box, QAccessible::Grouping); });
    setGeometry(geometry);
    setAccessibleName(caption.trimmed());
}

void GroupBox::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    p.setFont(font());
    const int top = textHeight(font()) / 2;
    drawEdge(p, Rect{0, top, width(), height()}, EDGE_ETCHED);
    Rect captionRect{8, 0, 8 + textWidth(font(), caption_), textHeight(font())};
    fillRect(p, captionRect, colors::clBtnFace);
    p.setPen(colors::clWindowText);
    drawText(p, caption_, captionRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace windows
