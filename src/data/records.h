#pragma once

#include "data/largememory.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace data {

// The rows of one open result, held in memory. Each row is one record of
// length-prefixed UTF-8 texts in a few large blocks, so a million-record
// result costs a few dozen allocations and about the size of its text; a
// row is a reference into them. An empty text is stored as null: an empty
// field is null throughout the program.
class Records {
public:
    QStringList names;      // column names as the engine reports them
    std::vector<int> sizes; // declared sizes in characters; 0 = unlimited

    int columnCount() const { return int(names.size()); }
    int rowCount() const { return int(rows_.size()); }
    int columnOf(const QString &name) const; // case-insensitive; -1 when absent

    // Row identities, kept in step with the rows once enabled (tables).
    void enableKeys() { keyed_ = true; }
    qint64 key(int row) const { return keys_[row]; }
    void setKey(int row, qint64 key) { keys_[row] = key; }

    int appendRow(const std::string_view *texts); // columnCount() texts; returns the row
    void insertRow(int row);                      // a row of nulls
    void setRow(int row, const QStringList &values);
    void removeRow(int row);
    void moveRow(int from, int to);

    bool isNull(int row, int column) const { return text(row, column).data() == nullptr; }
    std::string_view text(int row, int column) const; // a null view for null
    QString string(int row, int column) const;

private:
    struct RowRef {
        std::uint32_t block;
        std::uint32_t offset;
    };
    struct FreeLarge {
        void operator()(char *memory) const { freeLarge(memory); }
    };
    struct Block {
        std::unique_ptr<char[], FreeLarge> bytes;
        std::size_t capacity;
        std::size_t used;
    };

    RowRef store(const std::string_view *texts);
    char *reserve(std::size_t bytes, RowRef &at);

    std::vector<Block> blocks_;
    std::vector<RowRef, LargeAllocator<RowRef>> rows_;
    std::vector<qint64> keys_;
    bool keyed_ = false;
};

} // namespace data
