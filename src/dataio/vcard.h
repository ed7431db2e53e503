#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dataio {

// One record for the phone book read from a file: FIO, ADR, TEL, MAIL, the
// line it starts on, notes on what did not fit, and why it cannot be taken
// (empty when it can).
struct BookEntry {
    int line = 0;
    QStringList values;
    QStringList notes;
    QString problem;
};

// The cards of a vCard file (4.0, 3.0 or 2.1: folded lines, quoted-printable
// and base64 values, charset parameters, grouped properties). The name is FN,
// else N (family, given, additional), else ORG; of several TEL, EMAIL and ADR
// the first preferred one is taken, else the first.
QList<BookEntry> readVCards(const QByteArray &bytes);

// vCard 4.0 (RFC 6350), one card per record of FIO, ADR, TEL, MAIL.
QByteArray vCardsOf(const QList<QStringList> &records);

} // namespace dataio
