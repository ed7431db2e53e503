#pragma once

#include <QString>

// The per-user folder the program runs in: its working directory, holding
// the directory archive, the help and the user's own phone book.
namespace userfolder {

// $XDG_DATA_HOME/spravochnik, or ~/.local/share/spravochnik when that
// variable is unset or relative. Empty when no home folder is known either.
QString location(const QString &dataHome, const QString &home);

// Creates `folder` and brings it up to the installed shared files in
// `installed`: basa.tel and the help are copied when missing or older than
// the installed ones; the empty phone book only when the user has none, so a
// user's phone book is never replaced. Each copy is written under a temporary
// name and renamed into place, so a failure leaves the earlier file intact
// and nothing half-written. Returns an empty string when the folder is
// ready, otherwise a message for the user.
QString prepare(const QString &installed, const QString &folder);

} // namespace userfolder
