#pragma once

#include <functional>

class QWidget;

namespace platform {

// Makes a control that takes no focus for everyone else (a flat button, a
// side bar) reachable from the keyboard while assistive technology is
// active: it takes Tab focus, and Space or Enter on it call `press`, which
// does what a click does. Without assistive technology nothing changes.
void reachableWhileAccessible(QWidget *control, std::function<void()> press);

} // namespace platform
