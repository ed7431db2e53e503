#pragma once

#include "dataio/rowreader.h"
#include "dataio/vcard.h"

namespace dataio {

// The personal phone book's records from a vCard file or, when the file does
// not begin with a card, a delimited file naming FIO (and ADR, TEL, MAIL).
// Throws std::runtime_error for an unreadable file or a bad header.
QList<BookEntry> readBookFile(const QString &path, const ReadOptions &options);

struct BookImportOptions {
    bool dryRun = false;      // report only; the book is not touched
    bool skipInvalid = false; // add the good records, still list the others
    ProblemSink onProblem;    // a record that cannot be taken
    ProblemSink onWarning;    // a record taken with texts cut to size
    std::function<void(const BookEntry &)> onAdd;
};

struct BookImportResult {
    int added = 0;
    int alreadyThere = 0; // same name and number already in the book
    int invalid = 0;
    bool saved = false;
};

// Adds the entries whose name and number are not in the book yet, texts cut
// to the field sizes, in one transaction: all of them or, on any failure,
// none. A missing book file is created. Throws std::runtime_error (a locked
// or damaged book) with the book unchanged.
BookImportResult importBook(const QString &bookPath, const QList<BookEntry> &entries, const BookImportOptions &options);

// Every record of the book as vCard 4.0; returns how many.
int exportBookVCards(const QString &bookPath, const QString &outputPath);

} // namespace dataio
