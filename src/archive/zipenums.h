#pragma once

#include <QFlags>

// Enumerations of the archive component's properties and events.
enum ExtrOptsEnum : unsigned {
    ExtrDirNames = 1,
    ExtrOverWrite = 2,
    ExtrFreshen = 4,
    ExtrUpdate = 8,
    ExtrTest = 16,
    ExtrForceDirs = 32,
};
Q_DECLARE_FLAGS(ExtrOpts, ExtrOptsEnum)
Q_DECLARE_OPERATORS_FOR_FLAGS(ExtrOpts)

enum ProgressType { NewFile, ProgressUpdate, EndOfBatch, TotalFiles2Process, TotalSize2Process, NewExtra, ExtraUpdate };

enum UnZipSkipTypes {
    stOnFreshen,
    stNoOverwrite,
    stFileExists,
    stBadPassword,
    stNoEncryptionLib,
    stCompressionUnknown,
    stUnknownZipHost,
    stZipFileFormatWrong,
    stGeneralExtractError
};

enum TPasswordButton { pwbOk, pwbCancel, pwbCancelAll, pwbAbort };

enum CodePageOpts { cpAuto, cpNone, cpOEM };
