#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace data {

class Records;

// One field of a Paradox table as its header declares it.
struct ParadoxField {
    QString name;
    int type = 0;  // the header's type code (Alpha 0x01 ... Bytes 0x18)
    int bytes = 0; // width in the record
    int size = 0;  // the declared size: characters for Alpha, decimals for BCD, else 0
};

// A Paradox table file (versions 3.0 to 7.0) checked and read without ever
// looking past the bytes it was given: every size, pointer and count in the
// header and the block chain is checked before it is used, and a table that
// fails a check, or is encrypted, is refused with a Russian message. Records
// come in table order, following the chain of data blocks from the first,
// so records left behind in a block by a deletion or blocks no longer in the
// chain never show. Every field reads as the text the program shows, decoded
// from the code page the header names (1251 when it names none).
class ParadoxTable {
public:
    // Whether the bytes begin like a Paradox table: used to tell one from
    // our own table files by content.
    static bool recognises(QByteArrayView head);
    static bool isParadoxFile(const QString &path);

    // Checks the header; throws EDatabaseError naming fileName. memo is the
    // content of the table's .MB file (empty when it has none).
    ParadoxTable(QByteArrayView bytes, const QString &fileName, QByteArrayView memo = {});

    const QList<ParadoxField> &fields() const { return fields_; }
    int version() const { return version_; } // 30, 35, 40, 50 or 70
    int codePage() const { return codePage_; }
    int recordCount() const { return recordCount_; }

    // Sets the names and sizes of records and appends every record, an
    // empty text for a null field. Throws EDatabaseError for a damaged chain.
    void readInto(Records &records) const;

private:
    void readHeader();
    void readFieldNames(qsizetype from);
    [[noreturn]] void damaged(const QString &why) const;
    QString text(QByteArrayView bytes) const;
    QString fieldText(const ParadoxField &field, const uchar *at) const;
    QString memoText(const ParadoxField &field, const uchar *at) const;

    QByteArrayView bytes_;
    QByteArrayView memo_;
    QString fileName_;
    QList<ParadoxField> fields_;
    int recordSize_ = 0;
    int headerSize_ = 0;
    int blockSize_ = 0;
    int firstBlock_ = 0;
    int fileBlocks_ = 0;
    int recordCount_ = 0;
    int version_ = 0;
    int codePage_ = 1251;
};

// Reads the Paradox table in the file (and its .MB memo file when there is
// one) into records; throws EDatabaseError with a Russian message.
void readParadoxFile(const QString &path, const QString &fileName, Records &records);

// The side files a Paradox table may have beside it: primary index, memo,
// secondary indexes, validity checks; existing ones only, as full paths.
QStringList paradoxSideFiles(const QString &path);

} // namespace data
