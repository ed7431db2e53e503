#include "controls/flat/flatpanel.h"

#include "controls/flat/flataccessible.h"
#include "controls/flat/flatframe.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/drawing.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>

using flat::DrawFlatFrame;
using platform::Rect;
namespace colors = platform::colors;

namespace {
const int kBorderWidth = 2; // children stay clear of the frame
}

TFlatPanel::TFlatPanel(QWidget *parent)
    : QWidget(parent), FlatLook(static_cast<QWidget &>(*this)), color_(colors::clBtnFace)
{
    platform::registerAccessible<TFlatPanel>(flat::createPanelAccessible);
    setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
    // Moves over the panel's own area tell that the pointer came back from a child.
    setMouseTracking(true);
}

void TFlatPanel::setCaption(const QString &value)
{
    assign(caption_, value);
}
void TFlatPanel::setColor(const platform::colors::Color &value)
{
    assign(color_, value);
}

void TFlatPanel::setHover(bool value)
{
    if (value == hover_)
        return;
    hover_ = value;
    if (isFlat() && activate())
        update();
}

void TFlatPanel::enterEvent(QEnterEvent *)
{
    setHover(true);
}
void TFlatPanel::leaveEvent(QEvent *)
{
    setHover(false);
}

void TFlatPanel::mouseMoveEvent(QMouseEvent *event)
{
    // A child that does not track the pointer passes its moves on to here.
    if (!childAt(event->position().toPoint()))
        setHover(true);
    QWidget::mouseMoveEvent(event);
}

// Qt sends the panel no leave when the pointer moves onto a child, so the
// children's own enter events tell it.
void TFlatPanel::childEvent(QChildEvent *event)
{
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    else if (event->removed())
        event->child()->removeEventFilter(this);
    QWidget::childEvent(event);
}

bool TFlatPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter)
        setHover(false);
    return QWidget::eventFilter(watched, event);
}

void TFlatPanel::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void TFlatPanel::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TFlatPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const Rect whole{0, 0, width(), height()};
    platform::fillRect(painter, whole, color_);
    if (!caption_.isEmpty()) {
        Rect textRect = whole;
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        platform::drawText(painter, caption_, textRect,
                           platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    }
    if (!isFlat())
        return;
    // Both border pixels start as background, then the frame goes on top.
    DrawFlatFrame(color_, borderColor(), flat::ffErase, whole, painter);
    flat::FlatFrameStyle style = flat::ffErase;
    if ((hasFocus() || hover_) && activate())
        style = flat::ffThinSunken;
    else if (showBorder())
        style = flat::ffBorder;
    DrawFlatFrame(color_, borderColor(), style, whole, painter);
}
