#pragma once

#include <QString>

class QApplication;

namespace platform {

// Layout is in logical pixels of a 96-dpi screen and the desktop's scale
// factor applies. Once the QApplication exists: style, palette of the fixed system colours, default font, and the
// key router (form key preview, keyboard layout).
void setUpApplication(QApplication &app);

// The application title: the caption of the plain message window and of the
// default error report.
void setApplicationTitle(const QString &title);
QString applicationTitle();

} // namespace platform
