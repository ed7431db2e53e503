#include "records.h"

#include <algorithm>
#include <cstring>

namespace data {

namespace {
// Blocks grow from small (a phone book of ten records) to large (a
// directory of a million); a text never spans two blocks.
constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kLargestBlock = std::size_t(1) << 20;
constexpr std::size_t kLengthBytes = sizeof(std::uint32_t);
} // namespace

int Records::columnOf(const QString &name) const
{
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int Records::appendRow()
{
    cells_.resize(cells_.size() + names.size(), Cell{kNull, 0});
    if (keyed_)
        keys_.push_back(0);
    return rows_++;
}

void Records::insertRow(int row)
{
    cells_.insert(cells_.begin() + std::ptrdiff_t(row) * names.size(), names.size(), Cell{kNull, 0});
    if (keyed_)
        keys_.insert(keys_.begin() + row, 0);
    ++rows_;
}

void Records::removeRow(int row)
{
    const auto first = cells_.begin() + std::ptrdiff_t(row) * names.size();
    cells_.erase(first, first + names.size());
    if (keyed_)
        keys_.erase(keys_.begin() + row);
    --rows_;
}

void Records::moveRow(int from, int to)
{
    if (from == to)
        return;
    const std::ptrdiff_t width = names.size();
    const auto at = [&](int row) { return cells_.begin() + row * width; };
    if (from < to) {
        std::rotate(at(from), at(from + 1), at(to + 1));
        if (keyed_)
            std::rotate(keys_.begin() + from, keys_.begin() + from + 1, keys_.begin() + to + 1);
    } else {
        std::rotate(at(to), at(from), at(from + 1));
        if (keyed_)
            std::rotate(keys_.begin() + to, keys_.begin() + from, keys_.begin() + from + 1);
    }
}

Records::Cell Records::store(std::string_view utf8)
{
    const std::size_t need = kLengthBytes + utf8.size();
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < need) {
        const std::size_t grown = blocks_.empty() ? kFirstBlock : std::min(blocks_.back().capacity * 2, kLargestBlock);
        const std::size_t capacity = std::max(grown, need);
        blocks_.push_back(Block{std::make_unique<char[]>(capacity), capacity, 0});
    }
    Block &block = blocks_.back();
    const auto length = std::uint32_t(utf8.size());
    char *at = block.bytes.get() + block.used;
    std::memcpy(at, &length, kLengthBytes);
    std::memcpy(at + kLengthBytes, utf8.data(), utf8.size());
    const Cell stored{std::uint32_t(blocks_.size() - 1), std::uint32_t(block.used)};
    block.used += need;
    return stored;
}

void Records::setText(int row, int column, std::string_view utf8)
{
    cells_[std::size_t(row) * names.size() + column] = utf8.empty() ? Cell{kNull, 0} : store(utf8);
}

void Records::setString(int row, int column, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    setText(row, column, std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

std::string_view Records::text(int row, int column) const
{
    const Cell &c = cell(row, column);
    if (c.block == kNull)
        return {};
    const char *at = blocks_[c.block].bytes.get() + c.offset;
    std::uint32_t length = 0;
    std::memcpy(&length, at, kLengthBytes);
    return {at + kLengthBytes, length};
}

QString Records::string(int row, int column) const
{
    const std::string_view t = text(row, column);
    return t.data() ? QString::fromUtf8(t.data(), qsizetype(t.size())) : QString();
}

} // namespace data
