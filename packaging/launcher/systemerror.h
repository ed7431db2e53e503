#pragma once

#include <QString>

namespace systemerror {

// The system's reason for a failure, in Russian: the system's own texts
// follow the locale the launcher starts in, often English or untranslated.
QString text(int errorNumber);

} // namespace systemerror
