#include "platform/activation.h"

#include <algorithm>

namespace platform {

ActivationTracker &ActivationTracker::instance()
{
    static ActivationTracker tracker;
    return tracker;
}

QWidget *ActivationTracker::current() const
{
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
        if (it->window)
            return it->window;
    return nullptr;
}

void ActivationTracker::dropClosed()
{
    std::erase_if(stack_, [](const Entry &e) { return e.window.isNull(); });
}

void ActivationTracker::enter(QWidget *window, std::function<void()> onActivate)
{
    QWidget *previous = current();
    dropClosed();
    std::erase_if(stack_, [window](const Entry &e) { return e.window == window; });
    stack_.push_back({window, std::move(onActivate)});
    activateTopIfChanged(previous);
}

void ActivationTracker::leave(QWidget *window)
{
    QWidget *previous = current();
    std::erase_if(stack_, [window](const Entry &e) { return e.window == window || e.window.isNull(); });
    activateTopIfChanged(previous);
}

void ActivationTracker::activateTopIfChanged(QWidget *previous)
{
    if (stack_.empty() || stack_.back().window == previous)
        return;
    // Copied: the activation may show another window and change the stack.
    const std::function<void()> onActivate = stack_.back().onActivate;
    if (onActivate)
        onActivate();
}

} // namespace platform
