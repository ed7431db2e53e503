#include "controls/grid/dbgridex.h"

#include "platform/muldiv.h"

#include <algorithm>

namespace grid {

void TCustomDBGridEx::columnChanged(TDBGridColumnEx &column)
{
    if (loading_ || layoutInProgress_)
        return;
    int col = gridColumnOf(column);
    if (col >= 0 && col < cells().colCount())
        invalidateRect({cells().colLeft(col), 0, cells().colLeft(col) + cells().colWidth(col), cells().clientHeight()});
    if (!autoFit_) {
        if (col >= 0 && col < cells().colCount() && cells().colWidth(col) != gridWidthOf(column)) {
            cellsForLayout().setColWidth(col, gridWidthOf(column));
            if (updateHorizontalScrollBar()) {
                RecountVisibleRows();
                scrollBarMayHaveChanged(updateVerticalScrollBar());
            }
            invalidateGrid();
            reportColWidths();
        } else if (useMultiTitle_) {
            ReflowLayout();
        }
    } else {
        rescaleAutoFitBase(column, col);
        ReflowLayout();
    }
}

void TCustomDBGridEx::rescaleAutoFitBase(TDBGridColumnEx &column, int col)
{
    int index = columns_.indexOf(column);
    int oldWidth = col >= 0 && col < cells().colCount() ? cells().colWidth(col) : 0;
    if (column.isVisible() && oldWidth > 0 && column.width() != oldWidth) {
        int oldBase = column.autoFitBaseWidth();
        int newBase = platform::mulDiv(oldBase, column.width(), oldWidth).value_or(oldBase);
        column.setAutoFitBaseWidth(newBase);
        if (index + 1 < columns_.count()) {
            TDBGridColumnEx &next = columns_[index + 1];
            next.setAutoFitBaseWidth(std::max(0, next.autoFitBaseWidth() + oldBase - newBase));
        }
    }
}

// The current cell never stays in a hidden column.
void TCustomDBGridEx::leaveHiddenColumn()
{
    TDBGridColumnEx *current = columnOfGridCol(col());
    if (!current || current->isVisible())
        return;
    for (int i = 0; i < columns_.count(); ++i) {
        if (columns_[i].isVisible()) {
            setCurrentCell(gridColumnOf(columns_[i]), row());
            return;
        }
    }
}

void TCustomDBGridEx::columnGoing(TDBGridColumnEx &column)
{
    if (sizing_.column == &column)
        sizing_.column = nullptr;
    // The title tree points at its columns; the next layout pass rebuilds it.
    if (titleTree_.leafOf(&column))
        titleTree_.clear();
}

void TCustomDBGridEx::columnsChanged()
{
    if (!loading_ && !layoutInProgress_)
        ReflowLayout();
}

void TCustomDBGridEx::footerChanged()
{
    for (int row = firstFooterRow(); row < cells().rowCount(); ++row)
        invalidateRow(row);
}

void TCustomDBGridEx::relinkFooter(TColumnFooterEx &footer)
{
    TFooterValueType type = footer.valueType();
    bool aggregate = type == fvtSum || type == fvtAvg || type == fvtCount;
    TGroupOperation op = type == fvtSum ? goSum : type == fvtAvg ? goAvg : goCount;
    QString name;
    if (type != fvtCount)
        name = footer.fieldName().isEmpty() ? footer.column().fieldName() : footer.fieldName();
    TDBSum *item = footer.sumItem();
    if (item && aggregate && item->GroupOperation == op && item->FieldName == name)
        return;
    footer.setSumItem(nullptr);
    if (item)
        sumList_.removeItem(item);
    if (aggregate)
        footer.setSumItem(sumList_.addItem(op, name));
}

void TCustomDBGridEx::relinkAllFooters()
{
    for (int i = 0; i < columns_.count(); ++i) {
        TDBGridColumnEx &column = columns_[i];
        relinkFooter(column.footer());
        for (int k = 0; k < column.footers().count(); ++k)
            relinkFooter(column.footers()[k]);
    }
}

void TCustomDBGridEx::footerDestroyed(TColumnFooterEx &footer)
{
    if (TDBSum *item = footer.sumItem()) {
        footer.setSumItem(nullptr);
        sumList_.removeItem(item);
    }
}

} // namespace grid
