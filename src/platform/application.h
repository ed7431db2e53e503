#pragma once

class QApplication;

namespace platform {

// Before the QApplication exists: 96 dots per inch, no high-DPI scaling.
void prepareApplication();
// After: style, palette of the fixed system colours, default font, the
// default error report and the keyboard-layout stand-in.
void setUpApplication(QApplication &app);

} // namespace platform
