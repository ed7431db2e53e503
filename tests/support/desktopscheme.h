#pragma once

#include <QPalette>

// A dark desktop scheme and a high-contrast one (white on black, cyan
// highlight with black text).
QPalette darkScheme();
QPalette highContrastScheme();

// The system colours follow the desktop's scheme while it lives; the
// application's palette is restored after.
class DesktopScheme {
public:
    explicit DesktopScheme(const QPalette &palette);
    ~DesktopScheme();
    DesktopScheme(const DesktopScheme &) = delete;
    DesktopScheme &operator=(const DesktopScheme &) = delete;

private:
    QPalette saved_;
};
