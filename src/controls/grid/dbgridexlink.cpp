#include "controls/grid/dbgridex.h"

#include "controls/grid/gridaccessible.h"
#include "data/dataset.h"

#include <cstdlib>

namespace grid {

// The link forwards every notification to the grid.

void TGridDataLinkEx::activeChanged()
{
    grid_.linkActiveChanged();
}

void TGridDataLinkEx::dataSetChanged()
{
    grid_.linkDataChanged();
}

void TGridDataLinkEx::dataSetScrolled(int distance)
{
    grid_.linkScrolled(distance);
}

void TGridDataLinkEx::recordChanged(data::Field *field)
{
    grid_.linkRecordChanged(field);
}

void TGridDataLinkEx::layoutChanged()
{
    grid_.ReflowLayout();
}

void TGridDataLinkEx::editingChanged()
{
    grid_.linkEditingChanged();
}

void TCustomDBGridEx::linkActiveChanged()
{
    sumList_.setDataSet(link_.dataSet());
    ReflowLayout();
    scrollBarMayHaveChanged(updateVerticalScrollBar());
}

void TCustomDBGridEx::linkDataChanged()
{
    if (layoutInProgress_ || resizingWindow_)
        return;
    RecountVisibleRows();
    scrollBarMayHaveChanged(updateVerticalScrollBar());
    followActiveRecord();
    invalidateGrid();
    announceCurrentRecord(*this);
}

void TCustomDBGridEx::linkScrolled(int distance)
{
    if (layoutInProgress_ || resizingWindow_)
        return;
    int oldRow = row();
    if (titleRows_ + link_.activeRecord() >= titleRows_ + recordRows_)
        RecountVisibleRows();
    scrollBarMayHaveChanged(updateVerticalScrollBar());
    followActiveRecord();
    if (distance != 0) {
        if (std::abs(distance) > visibleDataRows()) {
            invalidateGrid();
        } else {
            int step = cells().defaultRowHeight() + cells().lineWidth();
            platform::Rect first = cells().rowRect(titleRows_);
            platform::Rect last = cells().rowRect(titleRows_ + recordRows_ - 1);
            platform::Rect area{0, first.top, cells().clientWidth(), last.bottom + cells().lineWidth()};
            scrollPixels(area, -distance * step);
            invalidateRow(oldRow - distance);
        }
    }
    invalidateRow(oldRow);
    invalidateRow(row());
    footerChanged();
    announceCurrentRecord(*this);
}

void TCustomDBGridEx::linkRecordChanged(data::Field *field)
{
    if (!field) {
        invalidateGrid();
        return;
    }
    for (int i = 0; i < columns_.count(); ++i)
        if (columns_[i].field() == field) {
            invalidateRow(row());
            return;
        }
}

void TCustomDBGridEx::linkEditingChanged()
{
    invalidateCell(0, row());
}

void TCustomDBGridEx::followActiveRecord()
{
    if (!linkActive())
        return;
    int target = titleRows_ + link_.activeRecord();
    if (target != row() && target < cells().rowCount())
        setCurrentCell(col(), target);
}

} // namespace grid
