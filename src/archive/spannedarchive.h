#pragma once

#include <QString>

// A spanned (split) archive: parts "basa.z01", "basa.z02", … beside its
// last part, which holds the end record. The parts are joined into one
// temporary archive whose offsets count from its start, so that the unzip
// library reads it as a plain archive. Sets whose directory reaches into an
// earlier part, and Zip64 sets, are not joined.
class SpannedArchive {
public:
    // lastPart: the archive named by ZipFileName; diskCount: its disk
    // number, the count of parts before it.
    SpannedArchive(const QString &lastPart, int diskCount);
    ~SpannedArchive(); // removes the joined file
    SpannedArchive(const SpannedArchive &) = delete;
    SpannedArchive &operator=(const SpannedArchive &) = delete;

    // Joins the parts into a new file in `folder`; on failure returns false
    // with the number of the part that is missing or damaged.
    bool join(const QString &folder, int &failedPart);
    QString joinedPath() const { return joined_; }

    // The part of a set with this number (1-based) beside the last part.
    static QString partPath(const QString &lastPart, int number);

private:
    QString lastPart_;
    int diskCount_;
    QString joined_;
};
