#pragma once

#include <utility>

namespace platform {

// Calls an optional event handler through a copy of itself: a handler that
// replaces or clears its own event while it runs must not free the code
// that is running.
template <class Handler, class... Args> void callEvent(const Handler &handler, Args &&...args)
{
    if (!handler)
        return;
    const Handler running = handler;
    running(std::forward<Args>(args)...);
}

} // namespace platform
