#pragma once

namespace platform {

// Selects the desktop's own Russian keyboard layout where the desktop has
// one and lets a program choose among its layouts (X11, through XKB), so
// that the desktop's switch and indicator keep telling the truth. Returns
// false where it has none or cannot be asked.
bool selectDesktopRussianLayout();

} // namespace platform
