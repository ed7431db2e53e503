#include "controls/flat/flatpanel.h"

#include "controls/flat/flataccessible.h"
#include "controls/flat/flatframe.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/drawing.h"

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
}

void TFlatPanel::setCaption(const QString &value)
{
    assign(caption_, value);
}
void TFlatPanel::setColor(const QColor &value)
{
    assign(color_, value);
}

void TFlatPanel::setHover(bool value)
{
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
