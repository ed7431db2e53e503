#pragma once

#include <QString>

// The working folder holds the archive, the tables unpacked from it and the
// phone book; the program writes all but the archive there.
namespace workfolder {

// When `folder` cannot be written, says so once and what follows from it:
// the directory tables cannot be unpacked and the phone book cannot be
// changed. Returns whether it could be written.
bool tellIfNotWritable(const QString &folder);

} // namespace workfolder
