#include "platform/formactivation.h"

#include "platform/activation.h"
#include "platform/errorreport.h"

#include <QWidget>

namespace platform {

FormActivation::FormActivation(QWidget &window, std::function<void()> onActivate)
    : window_(window), onActivate_(std::move(onActivate))
{}

void FormActivation::enter()
{
    ActivationTracker::instance().enter(&window_, [this] { runGuarded(onActivate_); });
}

void FormActivation::enterLater()
{
    QMetaObject::invokeMethod(
        &window_,
        [this] {
            if (window_.isVisible())
                enter();
        },
        Qt::QueuedConnection);
}

void FormActivation::leave()
{
    ActivationTracker::instance().leave(&window_);
}

} // namespace platform
