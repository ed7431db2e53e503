#include "flatpanel.h"

#include "colors.h"
#include "drawing.h"
#include "flatframe.h"

#include <QPainter>

using flat::DrawFlatFrame;
using platform::Rect;
namespace colors = platform::colors;

namespace {
const int kBorderWidth = 2;   // children stay clear of the frame
}

TFlatPanel::TFlatPanel(QWidget *parent)
    : QWidget(parent), borderColor_(colors::clBtnShadow), color_(colors::clBtnFace)
{
    setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
}

template <typename T> void TFlatPanel::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TFlatPanel::setActivate(bool value) { assign(activate_, value); }
void TFlatPanel::setFlat(bool value) { assign(flat_, value); }
void TFlatPanel::setShowBorder(bool value) { assign(showBorder_, value); }
void TFlatPanel::setCaption(const QString &value) { assign(caption_, value); }
void TFlatPanel::setColor(const QColor &value) { assign(color_, value); }

void TFlatPanel::setBorderColor(const QColor &value)
{
    if (borderColor_ == value)
        return;
    borderColor_ = value;
    if (flat_)
        update();
}

void TFlatPanel::setHover(bool value)
{
    hover_ = value;
    if (flat_ && activate_)
        update();
}

void TFlatPanel::enterEvent(QEnterEvent *) { setHover(true); }
void TFlatPanel::leaveEvent(QEvent *) { setHover(false); }

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
    if (!flat_)
        return;
    // Both border pixels start as background, then the frame goes on top.
    DrawFlatFrame(color_, borderColor_, flat::ffErase, whole, painter);
    int style = flat::ffErase;
    if ((hasFocus() || hover_) && activate_)
        style = flat::ffThinSunken;
    else if (showBorder_)
        style = flat::ffBorder;
    DrawFlatFrame(color_, borderColor_, style, whole, painter);
}
