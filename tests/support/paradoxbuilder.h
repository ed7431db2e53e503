#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <initializer_list>
#include <vector>

// Paradox tables written byte by byte, for the cases no writing library
// makes: every version, code page and field type, deleted records left in a
// block, blocks out of the chain, encryption and lying headers.
class ParadoxBuilder {
public:
    enum Type {
        Alpha = 0x01,
        Date = 0x02,
        Short = 0x03,
        Long = 0x04,
        Money = 0x05,
        Number = 0x06,
        Logical = 0x09,
        Memo = 0x0C,
        Blob = 0x0D,
        Graphic = 0x10,
        Time = 0x14,
        Timestamp = 0x15,
        AutoIncrement = 0x16,
        Bcd = 0x17,
        Bytes = 0x18
    };
    struct Field {
        Type type;
        int declared; // as in the header: characters, decimals for BCD, bytes for memos
        QByteArray name;
    };

    int versionId = 12;  // 3 = 3.0, 5 = 4.0, 10 = 5.0, 12 = 7.0
    int codePage = 1251; // 0: none named
    int blockKb = 1;
    int perBlock = 0; // records per block; 0: as many as fit
    bool encrypted = false;
    QByteArray deletedTail;  // a record left after the live ones of every block
    bool staleBlock = false; // one more block, out of the chain, holding a record
    QList<Field> fields;

    // The fields' bytes of one record, in field order.
    void add(std::initializer_list<QByteArray> values);
    // A record of text fields.
    void addTexts(const QStringList &texts);
    QByteArray build() const;
    int recordSize() const;

    QByteArray alpha(const QString &text, int size) const; // in the builder's code page
    static QByteArray integer(qint64 value, int bytes);    // Short, Long, Date, Time, AutoIncrement
    static QByteArray number(double value);                // Number, Money, Timestamp
    static QByteArray zeros(int bytes);                    // a null field

private:
    std::vector<QByteArray> records_;
};

// Header offsets the tests patch to make a table lie.
namespace paradoxheader {
constexpr int kRecordSize = 0x00, kHeaderSize = 0x02, kRecordCount = 0x06, kFileBlocks = 0x0C, kFirstBlock = 0x0E;
}
void patch16(QByteArray &bytes, int offset, int value);
void patch32(QByteArray &bytes, int offset, quint32 value);

// The directory's fields as a publisher's Paradox data.db holds them: Tel A5,
// Abon A150, Otdel A150, Adres A60.
ParadoxBuilder directoryBuilder();
