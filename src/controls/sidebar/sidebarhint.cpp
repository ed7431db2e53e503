#include "controls/sidebar/sidebarhint.h"

#include "platform/colors.h"

#include <QApplication>

TSideItemHint::TSideItemHint(QWidget *bar) : bar_(*bar), window_(bar, Qt::ToolTip | Qt::FramelessWindowHint)
{
    window_.setWordWrap(true);
    window_.setTextFormat(Qt::PlainText);
    window_.setMargin(1);
    window_.setFrameStyle(QFrame::Box | QFrame::Plain);
    platform::colors::setPaletteColor(window_, QPalette::Window, platform::colors::clInfoBk);
    platform::colors::setPaletteColor(window_, QPalette::WindowText, platform::colors::clInfoText);
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
    qApp->installEventFilter(this);
}

void TSideItemHint::Hide()
{
    timer_.stop();
    if (!window_.isVisible())
        return;
    qApp->removeEventFilter(this);
    window_.hide();
    if (auto handler = OnHidden)
        handler();
}

bool TSideItemHint::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut: Hide(); break;
    case QEvent::WindowStateChange:
    case QEvent::Close:
    case QEvent::Hide:
        if (watched == bar_.window())
            Hide();
        break;
    default: break;
    }
    return false;
}
