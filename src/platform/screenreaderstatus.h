#pragma once

#include <functional>

namespace platform {

// Qt 6.4 asks the desktop's accessibility bus once, at start, whether a
// screen reader runs, and never again, so a reader started after the
// program finds it silent. The program therefore keeps Qt's bridge to the
// bus always on and follows the bus's status itself for what it does
// differently for assistive technology. Call before the application object
// exists.
void keepAccessibilityBridgeOn();

// Whether assistive technology is active: the bus's status while the bridge
// is kept on, Qt's activation otherwise. `changed` is called on each turn.
bool assistiveTechnologyActive();
void onAssistiveTechnologyChanged(std::function<void(bool active)> changed);

} // namespace platform
