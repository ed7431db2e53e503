#include "controls/combo/editbuttoncontrol.h"

#include "controls/combo/editbuttonface.h"

#include <QMouseEvent>
#include <QPainter>

TEditButtonControlEx::TEditButtonControlEx(QWidget *edit) : QWidget(edit)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void TEditButtonControlEx::setHeld(bool held)
{
    if (held_ == held)
        return;
    held_ = held;
    update();
}

void TEditButtonControlEx::setFace(combo::TEditButtonStyleEx style, const QImage &glyph)
{
    style_ = style;
    glyph_ = glyph;
    update();
}

void TEditButtonControlEx::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal ratio = painter.device()->devicePixelRatio();
    painter.drawImage(
        0, 0, combo::ButtonFaceCache::instance().face({size(), looksPressed(), isEnabled(), ratio, style_, glyph_}));
}

void TEditButtonControlEx::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mouseDown_ = true;
    update();
    if (auto handler = OnPress)
        handler(event->position().y() < height() / 2);
}

void TEditButtonControlEx::mouseMoveEvent(QMouseEvent *event)
{
    if (!mouseDown_)
        return;
    if (auto handler = OnDrag)
        handler(event->globalPosition().toPoint());
}

void TEditButtonControlEx::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !mouseDown_)
        return;
    mouseDown_ = false;
    update();
    if (auto handler = OnRelease)
        handler(event->globalPosition().toPoint(), rect().contains(event->position().toPoint()));
}
