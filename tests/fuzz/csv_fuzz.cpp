// Any bytes as a delimited file: the reader never crashes, and handed the
// bytes in small pieces (so records straddle its blocks) it reads exactly
// the records it reads from the bytes whole.
#include "dataio/delimitedtext.h"

#include <QBuffer>
#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace dataio;

namespace {

// Hands out at most a few bytes per read.
class Trickle : public QIODevice {
public:
    Trickle(const QByteArray &bytes, qint64 piece) : bytes_(bytes), piece_(piece) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const qint64 n = std::min({size, piece_, qint64(bytes_.size()) - at_});
        std::memcpy(data, bytes_.constData() + at_, std::size_t(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &bytes_;
    qint64 piece_;
    qint64 at_ = 0;
};

QList<TextRecord> readAll(QIODevice &input, Encoding encoding, char separator)
{
    DelimitedReader reader(input, encoding, separator);
    QList<TextRecord> records;
    TextRecord record;
    int line = 0;
    while (reader.next(record)) {
        if (record.line <= line || record.lineBreaks < 0)
            std::abort(); // lines only go forward
        line = record.line + record.lineBreaks;
        records.append(record);
    }
    return records;
}

bool same(const QList<TextRecord> &a, const QList<TextRecord> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].line != b[i].line || a[i].lineBreaks != b[i].lineBreaks || a[i].fields != b[i].fields ||
            a[i].problem != b[i].problem)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (Encoding encoding : {Encoding::Utf8, Encoding::Cp1251}) {
        QBuffer whole;
        whole.setData(bytes);
        whole.open(QIODevice::ReadOnly);
        readAll(whole, encoding, 0); // the separator detected
    }
    // A separator given, as a detected one may differ when the first line is
    // not whole in the first piece.
    const char separator = ",;\t"[size % 3];
    QBuffer whole;
    whole.setData(bytes);
    whole.open(QIODevice::ReadOnly);
    Trickle pieces(bytes, 13 + qint64(size % 241));
    if (!same(readAll(whole, Encoding::Utf8, separator), readAll(pieces, Encoding::Utf8, separator)))
        std::abort();
    return 0;
}
