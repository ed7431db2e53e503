#include "support/paradoxbuilder.h"

#include "zipformat/codepages.h"

#include <QStringList>
#include <cstring>

namespace {

void put16(QByteArray &out, int at, int value)
{
    out[at] = char(value & 0xff);
    out[at + 1] = char((value >> 8) & 0xff);
}

void put32(QByteArray &out, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((value >> (8 * i)) & 0xff);
}

int widthOf(const ParadoxBuilder::Field &field)
{
    switch (field.type) {
    case ParadoxBuilder::Short: return 2;
    case ParadoxBuilder::Date:
    case ParadoxBuilder::Long:
    case ParadoxBuilder::Time:
    case ParadoxBuilder::AutoIncrement: return 4;
    case ParadoxBuilder::Money:
    case ParadoxBuilder::Number:
    case ParadoxBuilder::Timestamp: return 8;
    case ParadoxBuilder::Logical: return 1;
    case ParadoxBuilder::Bcd: return 17;
    default: return field.declared;
    }
}

} // namespace

void patch16(QByteArray &bytes, int offset, int value)
{
    put16(bytes, offset, value);
}

void patch32(QByteArray &bytes, int offset, quint32 value)
{
    put32(bytes, offset, value);
}

int ParadoxBuilder::recordSize() const
{
    int size = 0;
    for (const Field &field : fields)
        size += widthOf(field);
    return size;
}

void ParadoxBuilder::add(std::initializer_list<QByteArray> values)
{
    QByteArray record;
    for (const QByteArray &value : values)
        record += value;
    record.resize(recordSize(), '\0');
    records_.push_back(record);
}

void ParadoxBuilder::addTexts(const QStringList &texts)
{
    QByteArray record;
    for (int i = 0; i < fields.size(); ++i)
        record += alpha(texts.value(i), fields[i].declared);
    records_.push_back(record);
}

QByteArray ParadoxBuilder::alpha(const QString &text, int size) const
{
    const std::uint16_t *high = codePage == 866 ? zipformat::kCp866High : zipformat::kCp1251High;
    QByteArray out(size, '\0');
    for (int i = 0; i < text.size() && i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out[i] = char(c);
            continue;
        }
        for (int b = 0; b < 128; ++b) {
            if (high[b] == c)
                out[i] = char(0x80 + b);
        }
    }
    return out;
}

QByteArray ParadoxBuilder::integer(qint64 value, int bytes)
{
    const quint64 raw = quint64(value) ^ (quint64(1) << (bytes * 8 - 1));
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char((raw >> (8 * (bytes - 1 - i))) & 0xff);
    return out;
}

QByteArray ParadoxBuilder::number(double value)
{
    quint64 raw;
    std::memcpy(&raw, &value, sizeof raw);
    raw = (raw & (quint64(1) << 63)) ? ~raw : raw ^ (quint64(1) << 63);
    QByteArray out(8, '\0');
    for (int i = 0; i < 8; ++i)
        out[i] = char((raw >> (8 * (7 - i))) & 0xff);
    return out;
}

QByteArray ParadoxBuilder::zeros(int bytes)
{
    return QByteArray(bytes, '\0');
}

QByteArray ParadoxBuilder::build() const
{
    constexpr int kHeaderSize = 0x800;
    const bool extended = versionId >= 5;
    const int blockSize = blockKb * 1024;
    const int size = recordSize();
    const int fit = (blockSize - 6) / size - (deletedTail.isEmpty() ? 0 : 1);
    const int per = perBlock > 0 ? perBlock : fit;
    const int blocks = records_.empty() ? 0 : int((records_.size() + std::size_t(per) - 1) / std::size_t(per));
    const int allBlocks = blocks + (staleBlock ? 1 : 0);

    QByteArray out(kHeaderSize + allBlocks * blockSize, '\0');
    put16(out, 0x00, size);
    put16(out, 0x02, kHeaderSize);
    out[0x04] = 2; // without a primary index
    out[0x05] = char(blockKb);
    put32(out, 0x06, quint32(records_.size()));
    put16(out, 0x0A, allBlocks);
    put16(out, 0x0C, allBlocks);
    put16(out, 0x0E, blocks > 0 ? 1 : 0);
    put16(out, 0x10, blocks);
    put16(out, 0x21, int(fields.size()));
    out[0x39] = char(versionId);
    put32(out, 0x25, extended ? 0xFF00FF00 : (encrypted ? 0x12345678 : 0));
    if (extended) {
        put32(out, 0x5C, encrypted ? 0x12345678 : 0);
        put16(out, 0x6A, codePage);
    }
    int at = extended ? 0x78 : 0x58;
    for (const Field &field : fields) {
        out[at++] = char(field.type);
        out[at++] = char(field.declared);
    }
    at += 4 + 4 * int(fields.size()) + (versionId >= 12 ? 261 : 79);
    for (const Field &field : fields) {
        out.replace(at, field.name.size(), field.name);
        at += int(field.name.size()) + 1;
    }

    for (int b = 0; b < allBlocks; ++b) {
        const int start = kHeaderSize + b * blockSize;
        const bool stale = b == blocks;
        const int first = stale ? 0 : b * per;
        const int count = stale ? 1 : std::min(per, int(records_.size()) - first);
        put16(out, start, !stale && b + 1 < blocks ? b + 2 : 0);
        put16(out, start + 2, stale ? 0 : b);
        put16(out, start + 4, (count - 1) * size);
        for (int r = 0; r < count; ++r)
            out.replace(start + 6 + r * size, size, records_[std::size_t(first + r)]);
        if (!deletedTail.isEmpty())
            out.replace(start + 6 + count * size, size, deletedTail.leftJustified(size, '\0', true));
    }
    return out;
}

ParadoxBuilder directoryBuilder()
{
    ParadoxBuilder builder;
    builder.fields = {{ParadoxBuilder::Alpha, 5, "Tel"},
                      {ParadoxBuilder::Alpha, 150, "Abon"},
                      {ParadoxBuilder::Alpha, 150, "Otdel"},
                      {ParadoxBuilder::Alpha, 60, "Adres"}};
    return builder;
}
