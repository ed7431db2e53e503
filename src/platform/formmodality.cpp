#include "platform/formmodality.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

bool ModalShowing::run(QWidget *owner, const std::function<void()> &shown)
{
    window_.setWindowModality(Qt::ApplicationModal);
    // Transient for its owner, the window manager keeps it above the owner
    // and minimises it only with it: a modal window minimised on its own
    // would leave a program that takes no input and shows nothing why.
    // Without a window manager (offscreen) there is nothing to keep, and Qt
    // would hand activation to the owner there.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window_.winId();
        QWidget *ownerWindow = owner ? owner->window() : nullptr;
        window_.windowHandle()->setTransientParent(ownerWindow && ownerWindow != &window_ ? ownerWindow->windowHandle()
                                                                                          : nullptr);
    }
    QEventLoop loop;
    loop_ = &loop;
    window_.show();
    window_.raise();
    window_.activateWindow();
    const QPointer<QWidget> alive(&window_);
    shown();
    if (alive && window_.isVisible())
        loop.exec();
    if (!alive)
        return false;
    loop_ = nullptr;
    window_.setWindowModality(Qt::NonModal);
    return true;
}

void ModalShowing::end()
{
    if (loop_)
        loop_->quit();
}

} // namespace platform
