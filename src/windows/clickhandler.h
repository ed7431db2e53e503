#pragma once

#include "platform/errorreport.h"

#include <functional>

namespace windows {

// Runs `handler` as an event handler whenever `control` is clicked, by the
// mouse or by code: an engine error stops it and goes to the default error
// report instead of unwinding through Qt. Every clickable control of the
// windows (flat buttons, link labels) offers its click as OnClick.
template <class Control> void setClickHandler(Control *control, std::function<void()> handler)
{
    control->OnClick = [handler = std::move(handler)](Control &) { platform::runGuarded(handler); };
}

} // namespace windows
