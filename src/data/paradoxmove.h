#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace data {

// What moving a Paradox table into a table file of ours did.
struct ParadoxMove {
    QString keptAs;            // the original's name now, beside the new file
    QStringList keptSideFiles; // its side files' names now
    int records = 0;
};

// When fileName (relative to the working directory) holds a Paradox table,
// moves its records into a table file of ours under the same name and keeps
// the original, byte for byte, under a name that says what it is
// ("basamy-paradox.db", its side files likewise); nothing is ever written
// into the original. The new file is written under a temporary name, made
// durable and then put in place in one rename, so a kill at any moment
// leaves either the original under its own name or the original kept and the
// complete new file. Returns nothing for a file that is not a Paradox table;
// throws EDatabaseError (in Russian) for an encrypted or damaged one, which
// stays as it is.
std::optional<ParadoxMove> moveParadoxTable(const QString &fileName);

} // namespace data
