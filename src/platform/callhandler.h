#pragma once

#include <utility>

namespace platform {

// Calls an optional event handler through a copy: a handler that replaces or
// clears itself while it runs must not free the code being executed.
template <typename Handler, typename... Args> void callHandler(const Handler &handler, Args &&...args)
{
    if (!handler)
        return;
    const Handler copy = handler;
    copy(std::forward<Args>(args)...);
}

} // namespace platform
