#pragma once

#include "platform/rect.h"

#include <vector>

namespace grid {

// Where every cell of a two-dimensional grid lies: per-column widths and
// per-row heights, each followed by one grid line; fixed columns and rows at
// the left and top; scrollable ones starting at leftCol / topRow. All in
// client coordinates. Plain data, so layout can be checked without painting.
class GridGeometry {
public:
    int colCount() const { return static_cast<int>(colWidths_.size()); }
    int rowCount() const { return static_cast<int>(rowHeights_.size()); }
    void setColCount(int count, int defaultWidth);
    void setRowCount(int count);

    int colWidth(int col) const { return colWidths_[col]; }
    void setColWidth(int col, int width) { colWidths_[col] = width; }
    int rowHeight(int row) const { return rowHeights_[row]; }
    void setRowHeight(int row, int height) { rowHeights_[row] = height; }
    int defaultRowHeight() const { return defaultRowHeight_; }
    // Sets every row to the default height.
    void setDefaultRowHeight(int height);

    int lineWidth() const { return lineWidth_; }
    void setLineWidth(int width) { lineWidth_ = width; }
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int count) { fixedCols_ = count; }
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int count) { fixedRows_ = count; }
    int leftCol() const { return leftCol_; }
    void setLeftCol(int col) { leftCol_ = col; }
    int topRow() const { return topRow_; }
    void setTopRow(int row) { topRow_ = row; }

    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    void setClientSize(int width, int height);

    // Left edge of a column, or -1 when it is scrolled out of view.
    int colLeft(int col) const;
    int rowTop(int row) const;
    // The cell's rectangle (without its grid lines); empty when not in view.
    platform::Rect cellRect(int col, int row) const;
    // A whole row across the drawn columns.
    platform::Rect rowRect(int row) const;
    int colAt(int x) const; // -1 outside every column
    int rowAt(int y) const;
    // Right / bottom edge of the last drawn column / row, lines included,
    // limited to the client area.
    int gridRight() const;
    int gridBottom() const;
    // Fixed then scrollable columns / rows that start inside the client area.
    std::vector<int> colsInView() const;
    std::vector<int> rowsInView() const;
    // Scrollable rows from topRow that fit entirely.
    int fullyVisibleRows() const;
    // Whether columns at the right are cut off or hidden past the client edge.
    bool colsBeyondRight() const;
    // Whether all columns together, lines included, are wider than the client.
    bool colsWiderThanClient() const;
    // The last left column worth scrolling to: from it on the remaining
    // columns fit (the last column alone when even that is too wide).
    int maxLeftCol() const;
    // The left column that shows `col` whole (as far as it fits), moving as
    // little as possible from the current one.
    int leftColShowing(int col) const;

private:
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int defaultRowHeight_ = 24;
    int lineWidth_ = 1;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int leftCol_ = 0;
    int topRow_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

} // namespace grid
