#include "windows/clickablelabel.h"

#include <QMouseEvent>

namespace windows {

void ClickableLabel::Click()
{
    // Copied: the handler may replace itself.
    if (const auto onClick = OnClick)
        onClick(*this);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && std::exchange(pressed_, false) &&
        rect().contains(event->position().toPoint()))
        Click();
}

} // namespace windows
