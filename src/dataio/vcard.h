#pragma once

#include "dataio/problem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dataio {

// One record for the phone book read from a file: FIO, ADR, TEL, MAIL, the
// line it starts on, notes on what was left out or changed, and why it
// cannot be taken (empty when it can).
struct BookEntry {
    int line = 0;
    QStringList values;
    QList<Problem> notes;
    QString problem;
};

// The cards of a vCard file (4.0, 3.0 or 2.1: folded lines, quoted-printable
// and base64 values in any charset Qt decodes, grouped properties). The name
// is FN, else N (family, given, additional), else ORG; of several TEL and
// EMAIL the most preferred one is taken (PREF), else the first; of several
// ADR the most preferred, else the first of type home, else the first. Empty
// values never count. A tel: or mailto: URI gives what follows its scheme,
// unless the value is typed as text (VALUE=text). Lines outside a card make
// an entry with a problem, once per run of such lines.
QList<BookEntry> readVCards(const QByteArray &bytes);

// vCard 4.0 (RFC 6350), one card per record of FIO, ADR, TEL, MAIL.
QByteArray vCardsOf(const QList<QStringList> &records);

} // namespace dataio
