#include "data/records.h"

#include <algorithm>
#include <cstring>

namespace data {

namespace {
// Blocks grow from small (a phone book of ten records) to large (a
// directory of a million); a row never spans two blocks.
constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kLargestBlock = std::size_t(8) << 20;

// Lengths are stored as base-128 varints: one byte for texts under 128 bytes.
inline std::size_t lengthBytes(std::size_t length)
{
    if (length < 0x80) [[likely]]
        return 1;
    std::size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

inline char *writeLength(char *at, std::size_t length)
{
    if (length < 0x80) [[likely]] {
        *at = char(length);
        return at + 1;
    }
    while (length >= 0x80) {
        *at++ = char(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *at++ = char(length);
    return at;
}

const char *readLength(const char *at, std::size_t &length)
{
    length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= std::size_t(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return at;
    }
}
} // namespace

int Records::columnOf(const QString &name) const
{
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

char *Records::reserve(std::size_t bytes, RowRef &at)
{
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < bytes) [[unlikely]] {
        const std::size_t grown = blocks_.empty() ? kFirstBlock : std::min(blocks_.back().capacity * 2, kLargestBlock);
        const std::size_t capacity = std::max(grown, bytes);
        blocks_.push_back(
            Block{std::unique_ptr<char[], FreeLarge>(static_cast<char *>(allocateLarge(capacity))), capacity, 0});
    }
    Block &block = blocks_.back();
    at = RowRef{std::uint32_t(blocks_.size() - 1), std::uint32_t(block.used)};
    char *memory = block.bytes.get() + block.used;
    block.used += bytes;
    return memory;
}

Records::RowRef Records::store(const std::string_view *texts)
{
    const int columns = columnCount();
    std::size_t bytes = 0;
    for (int column = 0; column < columns; ++column)
        bytes += lengthBytes(texts[column].size()) + texts[column].size();
    RowRef ref{};
    char *at = reserve(std::max<std::size_t>(bytes, 1), ref);
    for (int column = 0; column < columns; ++column) {
        const std::size_t length = texts[column].size();
        at = writeLength(at, length);
        if (length != 0)
            std::memcpy(at, texts[column].data(), length);
        at += length;
    }
    return ref;
}

int Records::appendRow(const std::string_view *texts)
{
    rows_.push_back(store(texts));
    if (keyed_)
        keys_.push_back(0);
    return rowCount() - 1;
}

void Records::insertRow(int row)
{
    const std::vector<std::string_view> nulls(names.size());
    rows_.insert(rows_.begin() + row, store(nulls.data()));
    if (keyed_)
        keys_.insert(keys_.begin() + row, 0);
}

void Records::setRow(int row, const QStringList &values)
{
    std::vector<QByteArray> utf8;
    std::vector<std::string_view> texts;
    for (const QString &value : values)
        utf8.push_back(value.toUtf8());
    for (const QByteArray &text : utf8)
        texts.emplace_back(text.constData(), std::size_t(text.size()));
    texts.resize(names.size());
    rows_[row] = store(texts.data());
}

void Records::removeRow(int row)
{
    rows_.erase(rows_.begin() + row);
    if (keyed_)
        keys_.erase(keys_.begin() + row);
}

void Records::moveRow(int from, int to)
{
    const auto rotate = [from, to](auto &list) {
        if (from < to)
            std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + to + 1);
        else if (to < from)
            std::rotate(list.begin() + to, list.begin() + from, list.begin() + from + 1);
    };
    rotate(rows_);
    if (keyed_)
        rotate(keys_);
}

std::string_view Records::text(int row, int column) const
{
    const RowRef ref = rows_[row];
    const char *at = blocks_[ref.block].bytes.get() + ref.offset;
    std::size_t length = 0;
    for (int skipped = 0; skipped < column; ++skipped) {
        at = readLength(at, length);
        at += length;
    }
    at = readLength(at, length);
    return length ? std::string_view(at, length) : std::string_view();
}

QString Records::string(int row, int column) const
{
    const std::string_view t = text(row, column);
    return t.data() ? QString::fromUtf8(t.data(), qsizetype(t.size())) : QString();
}

} // namespace data
