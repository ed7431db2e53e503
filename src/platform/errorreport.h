#pragma once

#include <QString>
#include <functional>

namespace platform {

// The application's default error report: an error box (style 16) with the
// error's text and the application title as caption.
void reportError(const QString &text);

// Inside a catch block: reports the exception being handled by the default
// error report.
void reportCurrentException();

// Runs an event handler. An exception escaping it stops that handler only:
// it is reported by the default error report and the program goes on.
// Returns whether the handler ran to its end.
bool runGuarded(const std::function<void()> &handler);

} // namespace platform
