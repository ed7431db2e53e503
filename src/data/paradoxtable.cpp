#include "data/paradoxtable.h"

#include "data/dataset.h"
#include "data/records.h"

#include "zipformat/codepages.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace data {

namespace {

enum FieldType {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

// Header offsets.
constexpr qsizetype kBaseHeader = 0x58;     // versions 3.0 and 3.5
constexpr qsizetype kExtendedHeader = 0x78; // 4.0 and later
constexpr int kBlockHead = 6;               // next, previous, offset of the last record
constexpr int kMemoTail = 10;               // offset, length and modification number in a memo field
constexpr int kBcdBytes = 17;
constexpr int kFirstVersionId = 3;     // 3.0
constexpr int kLastVersionId = 12;     // 7.0
constexpr int kDayOfYearOne = 1721425; // day 1 of a Paradox date, as a Julian day number less one

unsigned u16(const uchar *p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

quint32 u32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint64 bigEndian(const uchar *p, int bytes)
{
    quint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

bool allZero(const uchar *p, int bytes)
{
    return std::all_of(p, p + bytes, [](uchar b) { return b == 0; });
}

// Integers are stored big-endian with the sign bit flipped, so that they
// sort as bytes; all zero bytes mean null.
qint64 storedInteger(const uchar *p, int bytes)
{
    const quint64 raw = bigEndian(p, bytes) ^ (quint64(1) << (bytes * 8 - 1));
    return bytes == 2 ? qint64(qint16(raw)) : qint64(qint32(raw));
}

// Doubles likewise: a positive one has its sign bit flipped, a negative one
// every bit.
double storedDouble(const uchar *p)
{
    quint64 raw = bigEndian(p, 8);
    raw = (raw & (quint64(1) << 63)) ? raw ^ (quint64(1) << 63) : ~raw;
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

// Digits of a BCD field: 32 nibbles after the byte holding the sign (bit 7
// set for a positive number, whose nibbles are stored as they are) and the
// number of decimals; the last `decimals` nibbles follow the point.
QString bcdText(const uchar *p, int decimals)
{
    const bool negative = !(p[0] & 0x80);
    const uchar flip = negative ? 0x0f : 0x00;
    const auto nibble = [&](int i) { return ((i % 2 ? p[i / 2] : p[i / 2] >> 4) & 0x0f) ^ flip; };
    constexpr int kEnd = 2 + 32;
    QString digits;
    int i = 2;
    while (i < kEnd - decimals && nibble(i) == 0)
        ++i;
    for (; i < kEnd - decimals; ++i)
        digits += QChar(u'0' + std::min(nibble(i), 9));
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    if (decimals > 0) {
        digits += u'.';
        for (; i < kEnd; ++i)
            digits += QChar(u'0' + std::min(nibble(i), 9));
    }
    return negative ? u'-' + digits : digits;
}

QByteArrayView untilNul(const uchar *at, int bytes)
{
    const QByteArrayView all(at, bytes);
    const qsizetype end = all.indexOf('\0');
    return end >= 0 ? all.first(end) : all;
}

// Each byte of a code page as UTF-8, for decoding a million records without
// a string per field.
struct Utf8Char {
    char bytes[3];
    int length;
};
using Utf8Table = std::array<Utf8Char, 256>;

Utf8Table utf8Table(const std::uint16_t *high)
{
    Utf8Table table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t c = b < 0x80 ? char32_t(b) : char32_t(high[b - 0x80]);
        const QByteArray bytes = QString(QChar(char16_t(c))).toUtf8();
        table[std::size_t(b)].length = int(bytes.size());
        std::memcpy(table[std::size_t(b)].bytes, bytes.constData(), std::size_t(bytes.size()));
    }
    return table;
}

const Utf8Table &utf8Of1251()
{
    static const Utf8Table table = utf8Table(zipformat::kCp1251High);
    return table;
}

const Utf8Table &utf8Of866()
{
    static const Utf8Table table = utf8Table(zipformat::kCp866High);
    return table;
}

void appendText(std::string &out, QByteArrayView bytes, const Utf8Table &utf8)
{
    for (char c : bytes) {
        const Utf8Char &ch = utf8[uchar(c)];
        out.append(ch.bytes, std::size_t(ch.length));
    }
}

bool holdsText(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return uchar(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n'; });
}

// The width of a field in the record, or 0 for a type or size no table has.
int widthOf(int type, int declared)
{
    switch (type) {
    case Alpha:
    case Bytes: return declared;
    case Short: return 2;
    case Date:
    case Long:
    case Time:
    case AutoIncrement: return 4;
    case Money:
    case Number:
    case Timestamp: return 8;
    case Logical: return 1;
    case Memo:
    case Blob:
    case FormattedMemo:
    case Ole:
    case Graphic: return declared > kMemoTail ? declared : 0;
    case Bcd: return declared <= 32 ? kBcdBytes : 0;
    default: return 0;
    }
}

int versionOf(int id)
{
    if (id <= 3)
        return 30;
    if (id == 4)
        return 35;
    if (id <= 9)
        return 40;
    if (id <= 11)
        return 50;
    return 70;
}

} // namespace

bool ParadoxTable::recognises(QByteArrayView head)
{
    if (head.size() < kBaseHeader)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.data());
    const int fileType = p[0x04];
    const int blockKb = p[0x05];
    const int versionId = p[0x39];
    const unsigned fieldCount = u16(p + 0x21);
    return u16(p) > 0 && u16(p + 0x02) >= kBaseHeader && (fileType == 0 || fileType == 2) && blockKb >= 1 &&
           blockKb <= 32 && versionId >= kFirstVersionId && versionId <= kLastVersionId && fieldCount > 0 &&
           fieldCount <= 255;
}

bool ParadoxTable::isParadoxFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && recognises(file.read(kBaseHeader));
}

ParadoxTable::ParadoxTable(QByteArrayView bytes, const QString &fileName, QByteArrayView memo)
    : bytes_(bytes), memo_(memo), fileName_(fileName)
{
    if (!recognises(bytes_))
        damaged(QStringLiteral("заголовок не похож на заголовок таблицы Paradox"));
    readHeader();
}

void ParadoxTable::damaged(const QString &why) const
{
    throw EDatabaseError(QStringLiteral("Таблица Paradox «%1» повреждена (%2); она не изменена.").arg(fileName_, why));
}

void ParadoxTable::readHeader()
{
    const auto *p = reinterpret_cast<const uchar *>(bytes_.data());
    const int versionId = p[0x39];
    version_ = versionOf(versionId);
    const bool extended = versionId >= 5;
    headerSize_ = int(u16(p + 0x02));
    if (headerSize_ > bytes_.size() || (extended && headerSize_ < kExtendedHeader))
        damaged(QStringLiteral("заголовок длиннее файла или короче положенного"));
    const quint32 encryption = extended ? u32(p + 0x5C) : u32(p + 0x25);
    const quint32 oldEncryption = u32(p + 0x25);
    if (encryption != 0 || (oldEncryption != 0 && oldEncryption != 0xFF00FF00))
        throw EDatabaseError(QStringLiteral("Таблица Paradox «%1» защищена паролем. Программа не открывает "
                                            "зашифрованные таблицы; снимите пароль в программе, которая её "
                                            "создала, и откройте снова. Таблица не изменена.")
                                 .arg(fileName_));
    recordSize_ = int(u16(p));
    blockSize_ = p[0x05] * 1024;
    recordCount_ = int(std::min<quint32>(u32(p + 0x06), quint32(INT_MAX)));
    fileBlocks_ = int(u16(p + 0x0C));
    firstBlock_ = int(u16(p + 0x0E));
    const qsizetype fieldsAt = extended ? kExtendedHeader : kBaseHeader;
    const int count = int(u16(p + 0x21));
    if (fieldsAt + 2 * count > headerSize_)
        damaged(QStringLiteral("описание полей не помещается в заголовок"));
    if (extended && u16(p + 0x6A) == 866)
        codePage_ = 866;
    int width = 0;
    for (int i = 0; i < count; ++i) {
        ParadoxField field;
        field.type = p[fieldsAt + 2 * i];
        const int declared = p[fieldsAt + 2 * i + 1];
        field.bytes = widthOf(field.type, declared);
        if (field.bytes == 0)
            damaged(
                QStringLiteral("поле %1 неизвестного типа %2 или размера %3").arg(i + 1).arg(field.type).arg(declared));
        field.size = field.type == Alpha || field.type == Bcd ? declared : 0;
        width += field.bytes;
        fields_.append(field);
    }
    if (width != recordSize_)
        damaged(QStringLiteral("поля занимают %1 байт, а запись %2").arg(width).arg(recordSize_));
    if (recordSize_ > blockSize_ - kBlockHead)
        damaged(QStringLiteral("запись не помещается в блок"));
    // Pointers of the program that wrote the file (the table name's and one
    // per field), then the table name, then the field names.
    const qsizetype tableNameLength = versionId >= kLastVersionId ? 261 : 79;
    readFieldNames(fieldsAt + 2 * count + 4 + 4 * qsizetype(count) + tableNameLength);
}

void ParadoxTable::readFieldNames(qsizetype from)
{
    for (ParadoxField &field : fields_) {
        if (from >= headerSize_)
            damaged(QStringLiteral("имена полей не помещаются в заголовок"));
        const QByteArrayView rest = bytes_.sliced(from, headerSize_ - from);
        const qsizetype end = rest.indexOf('\0');
        if (end <= 0)
            damaged(QStringLiteral("нет имени поля"));
        field.name = text(rest.first(end));
        from += end + 1;
    }
}

QString ParadoxTable::text(QByteArrayView bytes) const
{
    const std::uint16_t *high = codePage_ == 866 ? zipformat::kCp866High : zipformat::kCp1251High;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *to = out.data();
    for (char c : bytes) {
        const auto b = uchar(c);
        *to++ = QChar(b < 0x80 ? char16_t(b) : char16_t(high[b - 0x80]));
    }
    return out;
}

QString ParadoxTable::memoText(const ParadoxField &field, const uchar *at) const
{
    if (field.type == Ole || field.type == Graphic)
        return {};
    const int leader = field.bytes - kMemoTail;
    const quint32 pointer = u32(at + leader);
    const quint32 length = u32(at + leader + 4);
    QByteArrayView bytes;
    const qsizetype block = qsizetype(pointer & ~quint32(0xff));
    const int index = int(pointer & 0xff);
    const auto *memo = reinterpret_cast<const uchar *>(memo_.data());
    const auto fits = [&](qsizetype start, qsizetype size) {
        return start >= 0 && size >= 0 && start + size <= memo_.size();
    };
    if (length == 0) {
        return {};
    } else if (qsizetype(length) <= leader) {
        bytes = QByteArrayView(at, qsizetype(length));
    } else if (index == 0xff && fits(block, 9 + qsizetype(length)) && memo[block] == 2) {
        bytes = memo_.sliced(block + 9, qsizetype(length)); // a block of its own
    } else if (index < 64 && fits(block + 12 + 5 * index, 5) && memo[block] == 3) {
        const uchar *entry = memo + block + 12 + 5 * index; // one of a block's small memos
        if (fits(block + 16 * qsizetype(entry[0]), qsizetype(length)) && qsizetype(length) <= 16 * qsizetype(entry[1]))
            bytes = memo_.sliced(block + 16 * qsizetype(entry[0]), qsizetype(length));
    }
    // Without the memo file only the part kept in the record is there.
    if (bytes.isNull())
        bytes = QByteArrayView(at, leader);
    const qsizetype end = bytes.indexOf('\0');
    bytes = end >= 0 ? bytes.first(end) : bytes;
    return holdsText(bytes) ? text(bytes) : QString();
}

QString ParadoxTable::fieldText(const ParadoxField &field, const uchar *at) const
{
    if (field.type == Alpha || field.type == Bytes) {
        const QByteArrayView bytes = untilNul(at, field.bytes);
        return field.type == Alpha || holdsText(bytes) ? text(bytes) : QString();
    }
    if (field.type >= Memo && field.type <= Graphic)
        return memoText(field, at);
    if (allZero(at, field.bytes))
        return {};
    switch (field.type) {
    case Short:
    case Long:
    case AutoIncrement: return QString::number(storedInteger(at, field.bytes));
    case Number: return QString::number(storedDouble(at), 'g', 15);
    case Money: return QString::number(storedDouble(at), 'f', 2);
    case Logical: return (at[0] & 0x7f) ? QStringLiteral("Да") : QStringLiteral("Нет");
    case Date: return QDate::fromJulianDay(storedInteger(at, 4) + kDayOfYearOne).toString(QStringLiteral("dd.MM.yyyy"));
    case Time: return QTime(0, 0).addMSecs(int(storedInteger(at, 4) % 86400000)).toString(QStringLiteral("HH:mm:ss"));
    case Timestamp: {
        const double ms = storedDouble(at);
        constexpr double kLatestMs = 1e17; // beyond any calendar date
        if (!std::isfinite(ms) || std::fabs(ms) > kLatestMs)
            return {};
        const qint64 whole = qint64(std::floor(ms));
        const qint64 days = whole / 86400000;
        const QDate date = QDate::fromJulianDay(days + kDayOfYearOne);
        const QTime time = QTime(0, 0).addMSecs(int(whole % 86400000));
        return date.toString(QStringLiteral("dd.MM.yyyy ")) + time.toString(QStringLiteral("HH:mm:ss"));
    }
    case Bcd: return bcdText(at, field.size);
    default: return {};
    }
}

void ParadoxTable::readInto(Records &records) const
{
    for (const ParadoxField &field : fields_) {
        records.names.append(field.name);
        records.sizes.push_back(field.type == Alpha ? field.size : 0);
    }
    const auto *file = reinterpret_cast<const uchar *>(bytes_.data());
    const int perBlock = (blockSize_ - kBlockHead) / recordSize_;
    std::vector<bool> visited(std::size_t(fileBlocks_) + 1, false);
    std::vector<std::size_t> ends(std::size_t(fields_.size()));
    std::vector<std::string_view> texts(std::size_t(fields_.size()));
    const Utf8Table &utf8 = codePage_ == 866 ? utf8Of866() : utf8Of1251();
    std::string row;
    int seen = 0;
    for (int block = firstBlock_; block != 0;) {
        if (block > fileBlocks_ || visited[std::size_t(block)])
            damaged(QStringLiteral("цепочка блоков указывает на блок %1").arg(block));
        visited[std::size_t(block)] = true;
        const qsizetype start = headerSize_ + qsizetype(block - 1) * blockSize_;
        if (start + blockSize_ > bytes_.size())
            damaged(QStringLiteral("блок %1 за концом файла").arg(block));
        const uchar *head = file + start;
        const int lastOffset = qint16(u16(head + 4));
        const int inBlock = lastOffset < 0 ? 0 : lastOffset / recordSize_ + 1;
        if (lastOffset >= 0 && (lastOffset % recordSize_ != 0 || inBlock > perBlock))
            damaged(QStringLiteral("в блоке %1 неверное число записей").arg(block));
        for (int r = 0; r < inBlock; ++r) {
            const uchar *at = head + kBlockHead + qsizetype(r) * recordSize_;
            row.clear();
            for (int f = 0; f < fields_.size(); ++f) {
                const ParadoxField &field = fields_[f];
                if (field.type == Alpha)
                    appendText(row, untilNul(at, field.bytes), utf8);
                else
                    row += fieldText(field, at).toStdString();
                ends[std::size_t(f)] = row.size();
                at += field.bytes;
            }
            // Views only once the row's text has stopped growing.
            for (std::size_t f = 0, from = 0; f < ends.size(); from = ends[f++])
                texts[f] = std::string_view(row).substr(from, ends[f] - from);
            records.appendRow(texts.data());
        }
        seen += inBlock;
        if (seen > recordCount_)
            break;
        block = int(u16(head));
    }
    if (seen != recordCount_)
        damaged(QStringLiteral("в заголовке записей %1, а в блоках не меньше %2").arg(recordCount_).arg(seen));
}

void readParadoxFile(const QString &path, const QString &fileName, Records &records)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(
            QStringLiteral("Не удаётся открыть таблицу Paradox «%1»: %2").arg(fileName, file.errorString()));
    const qint64 size = file.size();
    const uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    const QByteArray copy = mapped || size == 0 ? QByteArray() : file.readAll();
    const QByteArrayView bytes = mapped ? QByteArrayView(mapped, size) : QByteArrayView(copy);
    QByteArray memo;
    for (const QString &side : paradoxSideFiles(path)) {
        if (QFileInfo(side).suffix().compare(QStringLiteral("mb"), Qt::CaseInsensitive) == 0) {
            QFile memoFile(side);
            if (memoFile.open(QIODevice::ReadOnly))
                memo = memoFile.readAll();
        }
    }
    ParadoxTable(bytes, fileName, memo).readInto(records);
}

QStringList paradoxSideFiles(const QString &path)
{
    const QFileInfo info(path);
    const QString base = info.completeBaseName();
    QStringList found;
    const QStringList all = info.dir().entryList(QDir::Files);
    for (const QString &name : all) {
        const QFileInfo candidate(name);
        if (candidate.completeBaseName().compare(base, Qt::CaseInsensitive) != 0 || name == info.fileName())
            continue;
        static const QStringList suffixes = {QStringLiteral("px"), QStringLiteral("mb"), QStringLiteral("val"),
                                             QStringLiteral("tv"), QStringLiteral("fam")};
        const QString suffix = candidate.suffix().toLower();
        const bool secondaryIndex = suffix.size() == 3 && (suffix[0] == u'x' || suffix[0] == u'y') &&
                                    (suffix[1].isDigit() || suffix[1] == u'g') && suffix[2].isLetterOrNumber();
        if (suffixes.contains(suffix) || secondaryIndex)
            found.append(info.dir().filePath(name));
    }
    return found;
}

} // namespace data
