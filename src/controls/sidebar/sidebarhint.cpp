#include "controls/sidebar/sidebarhint.h"

#include "platform/colors.h"

TSideItemHint::TSideItemHint(QWidget *bar) : window_(bar, Qt::ToolTip | Qt::FramelessWindowHint)
{
    window_.setWordWrap(true);
    window_.setTextFormat(Qt::PlainText);
    window_.setMargin(1);
    window_.setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = window_.palette();
    palette.setColor(QPalette::Window, platform::colors::clInfoBk);
    palette.setColor(QPalette::WindowText, platform::colors::clInfoText);
    window_.setPalette(palette);
    window_.setAutoFillBackground(true);
    timer_.setSingleShot(true);
    timer_.setInterval(ShowTime);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Hide(); });
}

void TSideItemHint::Show(const QString &text, const QRect &anchor, bool centred)
{
    window_.setText(text);
    window_.setMaximumWidth(anchor.width() + 2);
    window_.adjustSize();
    const QSize size = window_.size();
    const int left = centred ? anchor.center().x() - size.width() / 2 : anchor.left() - 1;
    window_.move(left, anchor.top() - 1);
    window_.show();
    timer_.start();
}

void TSideItemHint::Hide()
{
    timer_.stop();
    if (!window_.isVisible())
        return;
    window_.hide();
    if (auto handler = OnHidden)
        handler();
}
