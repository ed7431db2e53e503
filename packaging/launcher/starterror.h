#pragma once

#include <QString>

// How the launcher tells a user that the program cannot start.
namespace starterror {

// True when a message box can reach a person: a display is named and Qt is
// not told to draw off screen.
bool canShowWindows();

// Shows that the program cannot start, and why, in a modal error box, and
// returns when it is closed. Needs a QApplication.
void showMessageBox(const QString &reason);

// Writes that the program cannot start, and why, to standard error and, when
// there is a display, also shows it in a message box. Returns the launcher's
// exit status.
int report(int argc, char **argv, const QString &reason);

} // namespace starterror
