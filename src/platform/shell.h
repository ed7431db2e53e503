#pragma once

#include <QString>
#include <functional>

namespace platform {

// Desktop services. With no program to open a link or the help, the user is
// told so (warning box); a missing help file stays silent.

// Opens a web or mailto link with the desktop's default handler.
void openUrl(const QString &url);
// Opens the help file of the working directory with the desktop's viewer and
// does not wait for it.
void startHelpViewer(const QString &helpFile);
// Deletes a file; false when it is missing or cannot be deleted.
bool deleteFile(const QString &path);

// Test seam: while a recorder is installed, links and the help viewer are
// passed to it instead of the desktop, so no other program starts.
struct ShellRequest {
    enum Kind { OpenUrl, StartHelpViewer } kind;
    QString target; // the link, or the help file's absolute path
};
using ShellRecorder = std::function<void(const ShellRequest &)>;
void setShellRecorder(ShellRecorder recorder); // empty function restores the desktop

} // namespace platform
