#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace data {

// The rows of one open result, held in memory. Texts live in a few large
// blocks of UTF-8, so a million-record result costs a few hundred allocations
// rather than millions; a cell is a reference into them. An empty text is
// stored as null: an empty field is null throughout the program.
class Records {
public:
    QStringList names;          // column names as the engine reports them
    std::vector<int> sizes;     // declared sizes in characters; 0 = unlimited

    int columnCount() const { return int(names.size()); }
    int rowCount() const { return rows_; }
    int columnOf(const QString &name) const;   // case-insensitive; -1 when absent

    // Row identities, kept in step with the rows once enabled (tables).
    void enableKeys() { keyed_ = true; }
    qint64 key(int row) const { return keys_[row]; }
    void setKey(int row, qint64 key) { keys_[row] = key; }

    int appendRow();                            // a row of nulls; returns its index
    void insertRow(int row);
    void removeRow(int row);
    void moveRow(int from, int to);

    void setText(int row, int column, std::string_view utf8);   // empty = null
    void setString(int row, int column, const QString &value);
    bool isNull(int row, int column) const { return cell(row, column).block == kNull; }
    std::string_view text(int row, int column) const;
    QString string(int row, int column) const;

private:
    struct Cell {
        std::uint32_t block;
        std::uint32_t offset;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity;
        std::size_t used;
    };
    static constexpr std::uint32_t kNull = UINT32_MAX;

    const Cell &cell(int row, int column) const { return cells_[std::size_t(row) * names.size() + column]; }
    Cell store(std::string_view utf8);

    std::vector<Block> blocks_;
    std::vector<Cell> cells_;
    std::vector<qint64> keys_;
    int rows_ = 0;
    bool keyed_ = false;
};

} // namespace data
