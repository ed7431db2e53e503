#pragma once

#include "dataio/rowreader.h"

namespace dataio {

struct ImportOptions : ReadOptions {
    bool skipInvalid = false;           // write the valid rows, still list the others
    bool allowDuplicateNumbers = false; // a number shared by several subscribers
    ProblemSink onProblem;
    ProblemSink onWarning; // a row taken with a change
    ProgressSink onProgress;
};

struct ImportResult {
    int written = 0;
    int invalid = 0;    // rows and file-wide problems listed
    bool saved = false; // the table file was written
};

// The town's directory (data.db) from a delimited file: Tel of 1 to 5 digits,
// unique; Abon and Adres upper case; every text within its field's size. Any
// invalid row leaves the output untouched unless skipInvalid.
ImportResult importDirectory(const QString &inputPath, const QString &tablePath, const ImportOptions &options);

// The dialing codes (kod.db): every row names one of the six regions (upper
// case), a locality (upper case) and a code of digits, and every region has
// at least one locality.
ImportResult importDialingCodes(const QString &inputPath, const QString &tablePath, const ImportOptions &options);

// Calls back with every row of a table file, in table order, null as empty.
void forEachRow(const QString &tablePath, const TableLayout &layout,
                const std::function<void(const QStringList &)> &row);

enum class ExportFormat { Delimited, Paradox };

struct ExportOptions {
    Encoding encoding = Encoding::Utf8; // of a delimited file
    char separator = ',';
    ExportFormat format = ExportFormat::Delimited;
};

struct ExportResult {
    int written = 0;
    int unrepresentable = 0; // characters the encoding could not hold
};

// A table file as a delimited file with the field names on its first line,
// or as a Paradox table with the layout's fields and sizes in code page 1251.
ExportResult exportTable(const QString &tablePath, const TableLayout &layout, const QString &outputPath,
                         const ExportOptions &options);

} // namespace dataio
