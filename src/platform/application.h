#pragma once

#include <QString>

class QApplication;

namespace platform {

// Before the QApplication exists: 96 dots per inch, no high-DPI scaling.
void prepareApplication();
// After: style, palette of the fixed system colours, default font, and the
// key router (form key preview, keyboard layout).
void setUpApplication(QApplication &app);

// The application title: the caption of the plain message window and of the
// default error report.
void setApplicationTitle(const QString &title);
QString applicationTitle();

} // namespace platform
