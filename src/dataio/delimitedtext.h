#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <optional>
#include <vector>

namespace dataio {

enum class Encoding { Utf8, Cp1251 };

// "utf-8"/"utf8", "cp1251"/"windows-1251", ignoring case.
std::optional<Encoding> encodingNamed(const QString &name);
// ",", ";", "tab" or a tab character; also "comma", "semicolon".
std::optional<char> separatorNamed(const QString &name);

// One record of a delimited file: its fields decoded, the line it starts on,
// and what was wrong with it (empty when nothing was).
struct TextRecord {
    int line = 0;
    int lineBreaks = 0; // inside quoted fields, so the record ends on line + lineBreaks
    QStringList fields;
    QString problem;
};

// The same record with its fields as the file's bytes (quotes undone), not
// yet decoded; they stay valid until the next read. The problem is the
// record's layout only: decoding may find another.
struct RawRecord {
    int line = 0;
    int lineBreaks = 0;
    std::vector<QByteArrayView> fields;
    QString problem;
};

// Reads comma-, semicolon- or tab-separated text as spreadsheets write it:
// quoted fields may hold separators, doubled quotes and line breaks; lines end
// in LF or CRLF; a UTF-8 byte order mark is skipped (and means UTF-8). The
// input is read in blocks, so any size fits in little memory.
class DelimitedReader {
public:
    // separator 0: the most frequent of tab, semicolon and comma on the first line.
    DelimitedReader(QIODevice &input, Encoding encoding, char separator = 0);

    bool next(TextRecord &record); // false at the end of the input
    bool next(RawRecord &record);
    char separator() const { return separator_; }
    Encoding encoding() const { return encoding_; } // the byte order mark's, once read
    qint64 bytesRead() const { return consumed_; }
    // One field's text; sets the problem when the bytes are not in the encoding.
    QString decode(QByteArrayView bytes, QString &problem);

private:
    enum class Parse { Done, NeedMore };
    Parse parse(RawRecord &record);
    bool fill();
    void start();

    QIODevice &input_;
    Encoding encoding_;
    char separator_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    int line_ = 1;
    qint64 consumed_ = 0;
    // Where each field of the record being parsed lies: in the buffer, or
    // (quoted, with its doubled quotes undone) in unquoted_.
    struct Span {
        bool quoted;
        qsizetype from;
        qsizetype size;
    };
    std::vector<Span> spans_;
    QByteArray unquoted_;
    RawRecord raw_; // of next(TextRecord &)
    QStringDecoder utf8_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

// Writes records so that the reader above (and a spreadsheet) reads them back:
// fields quoted where needed, lines ending in CRLF.
class DelimitedWriter {
public:
    DelimitedWriter(QIODevice &output, Encoding encoding, char separator);

    void write(const QStringList &fields);
    // Characters the encoding cannot hold, written as "?".
    int unrepresentable() const { return unrepresentable_; }

private:
    QByteArray encode(const QString &text);

    QIODevice &output_;
    Encoding encoding_;
    char separator_;
    int unrepresentable_ = 0;
};

} // namespace dataio
