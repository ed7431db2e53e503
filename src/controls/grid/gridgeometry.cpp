#include "controls/grid/gridgeometry.h"

#include <algorithm>

namespace grid {

void GridGeometry::setColCount(int count, int defaultWidth)
{
    colWidths_.resize(std::max(0, count), defaultWidth);
    fixedCols_ = std::min(fixedCols_, colCount());
    leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, colCount() - 1));
}

void GridGeometry::setRowCount(int count)
{
    rowHeights_.resize(std::max(0, count), defaultRowHeight_);
    fixedRows_ = std::min(fixedRows_, rowCount());
}

void GridGeometry::setDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
}

void GridGeometry::setClientSize(int width, int height)
{
    clientWidth_ = std::max(0, width);
    clientHeight_ = std::max(0, height);
}

namespace {

// Start of item `index` along one axis, where fixed items come first and the
// scrollable ones start at `first`; -1 when scrolled out.
int startOf(const std::vector<int> &sizes, int fixed, int first, int line, int index)
{
    if (index < 0 || index >= static_cast<int>(sizes.size()) || (index >= fixed && index < first))
        return -1;
    int pos = 0;
    for (int i = 0; i < fixed && i < index; ++i)
        pos += sizes[i] + line;
    for (int i = first; i < index; ++i)
        pos += sizes[i] + line;
    return pos;
}

int itemAt(const std::vector<int> &sizes, int fixed, int first, int line, int extent, int pos)
{
    if (pos < 0 || pos >= extent)
        return -1;
    int start = 0;
    auto probe = [&](int i) {
        int end = start + sizes[i] + line;
        bool hit = pos >= start && pos < end;
        start = end;
        return hit;
    };
    for (int i = 0; i < fixed && i < static_cast<int>(sizes.size()); ++i)
        if (probe(i))
            return i;
    for (int i = first; i < static_cast<int>(sizes.size()) && start < extent; ++i)
        if (probe(i))
            return i;
    return -1;
}

int extentOf(const std::vector<int> &sizes, int fixed, int first, int line, int limit)
{
    int pos = 0;
    for (int i = 0; i < fixed && i < static_cast<int>(sizes.size()); ++i)
        pos += sizes[i] + line;
    for (int i = first; i < static_cast<int>(sizes.size()) && pos < limit; ++i)
        pos += sizes[i] + line;
    return std::min(pos, limit);
}

std::vector<int> inView(const std::vector<int> &sizes, int fixed, int first, int line, int extent)
{
    std::vector<int> items;
    int pos = 0;
    auto take = [&](int i) {
        if (pos >= extent)
            return false;
        items.push_back(i);
        pos += sizes[i] + line;
        return true;
    };
    for (int i = 0; i < fixed && i < static_cast<int>(sizes.size()); ++i)
        if (!take(i))
            return items;
    for (int i = first; i < static_cast<int>(sizes.size()); ++i)
        if (!take(i))
            break;
    return items;
}

} // namespace

std::vector<int> GridGeometry::colsInView() const
{
    return inView(colWidths_, fixedCols_, leftCol_, lineWidth_, clientWidth_);
}

std::vector<int> GridGeometry::rowsInView() const
{
    return inView(rowHeights_, fixedRows_, topRow_, lineWidth_, clientHeight_);
}

int GridGeometry::colLeft(int col) const
{
    return startOf(colWidths_, fixedCols_, leftCol_, lineWidth_, col);
}

int GridGeometry::rowTop(int row) const
{
    return startOf(rowHeights_, fixedRows_, topRow_, lineWidth_, row);
}

platform::Rect GridGeometry::cellRect(int col, int row) const
{
    int x = colLeft(col), y = rowTop(row);
    if (x < 0 || y < 0)
        return {};
    return {x, y, x + colWidths_[col], y + rowHeights_[row]};
}

platform::Rect GridGeometry::rowRect(int row) const
{
    int y = rowTop(row);
    if (y < 0)
        return {};
    return {0, y, gridRight(), y + rowHeights_[row]};
}

int GridGeometry::colAt(int x) const
{
    return itemAt(colWidths_, fixedCols_, leftCol_, lineWidth_, clientWidth_, x);
}

int GridGeometry::rowAt(int y) const
{
    return itemAt(rowHeights_, fixedRows_, topRow_, lineWidth_, clientHeight_, y);
}

int GridGeometry::gridRight() const
{
    return extentOf(colWidths_, fixedCols_, leftCol_, lineWidth_, clientWidth_);
}

int GridGeometry::gridBottom() const
{
    return extentOf(rowHeights_, fixedRows_, topRow_, lineWidth_, clientHeight_);
}

int GridGeometry::fullyVisibleRows() const
{
    int y = 0;
    for (int i = 0; i < fixedRows_ && i < rowCount(); ++i)
        y += rowHeights_[i] + lineWidth_;
    int count = 0;
    for (int i = topRow_; i < rowCount(); ++i) {
        y += rowHeights_[i];
        if (y > clientHeight_)
            break;
        y += lineWidth_;
        ++count;
    }
    return count;
}

bool GridGeometry::colsBeyondRight() const
{
    int x = 0;
    for (int i = 0; i < fixedCols_ && i < colCount(); ++i)
        x += colWidths_[i] + lineWidth_;
    for (int i = leftCol_; i < colCount(); ++i) {
        x += colWidths_[i];
        if (x > clientWidth_)
            return true;
        x += lineWidth_;
    }
    return false;
}

bool GridGeometry::colsWiderThanClient() const
{
    int x = 0;
    for (int width : colWidths_)
        x += width + lineWidth_;
    return x - lineWidth_ > clientWidth_;
}

namespace {

// Width of the fixed columns and their lines.
int fixedExtent(const std::vector<int> &widths, int fixed, int line)
{
    int x = 0;
    for (int i = 0; i < fixed && i < static_cast<int>(widths.size()); ++i)
        x += widths[i] + line;
    return x;
}

} // namespace

int GridGeometry::maxLeftCol() const
{
    const int room = clientWidth_ - fixedExtent(colWidths_, fixedCols_, lineWidth_);
    int left = colCount() - 1, used = 0;
    for (int i = colCount() - 1; i >= fixedCols_; --i) {
        used += colWidths_[i] + (i == colCount() - 1 ? 0 : lineWidth_);
        if (used > room)
            break;
        left = i;
    }
    return std::max(fixedCols_, left);
}

int GridGeometry::leftColShowing(int col) const
{
    if (col < fixedCols_ || col >= colCount())
        return leftCol_;
    if (col <= leftCol_)
        return col;
    const int room = clientWidth_ - fixedExtent(colWidths_, fixedCols_, lineWidth_);
    int left = leftCol_, used = 0;
    for (int i = leftCol_; i <= col; ++i)
        used += colWidths_[i] + (i == leftCol_ ? 0 : lineWidth_);
    while (left < col && used > room) {
        used -= colWidths_[left] + lineWidth_;
        ++left;
    }
    return left;
}

} // namespace grid
