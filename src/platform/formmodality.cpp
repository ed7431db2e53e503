#include "platform/formmodality.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

bool ModalShowing::run(const std::function<void()> &shown)
{
    window_.setWindowModality(Qt::ApplicationModal);
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
