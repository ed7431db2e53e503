#include "controls/grid/dbgridex.h"

#include "data/dataset.h"

namespace grid {

bool TCustomDBGridEx::updateVerticalScrollBar()
{
    data::DataSet *ds = dataSet();
    ScrollInfo info;
    if (!linkActive()) {
        info = {0, 1, 2, 0};
    } else if (ds->isSequenced()) {
        int page = visibleDataRows();
        int pos = ds->state() == data::DataSetState::Insert ? verticalScrollInfo().pos : ds->recNo();
        info = {1, ds->recordCount() + page - 1, page, pos};
    } else {
        info = {0, 4, 0, ds->bof() ? 0 : ds->eof() ? 4 : 2};
    }
    if (!vertScrollBar_.Visible)
        info.max = info.min;
    bool degenerate = info.max - info.min <= info.page;
    bool shown = vertScrollBar_.Visible && vertScrollBar_.VisibleMode != sbNeverShowEx &&
                 (vertScrollBar_.VisibleMode == sbAlwaysShowEx || !degenerate);
    if (scrollInfoSent_ && info == verticalScrollInfo() && shown == verticalBarShown())
        return false;
    scrollInfoSent_ = true;
    return setVerticalScroll(info, shown, !degenerate);
}

bool TCustomDBGridEx::updateHorizontalScrollBar()
{
    const TDBGridExScrollBar &bar = horzScrollBar_;
    const bool on = !autoFit_ && bar.Visible && bar.VisibleMode != sbNeverShowEx;
    return setHorizontalScroll(on && (bar.VisibleMode == sbAlwaysShowEx || cells().colsWiderThanClient()));
}

void TCustomDBGridEx::scrollBarMayHaveChanged(bool visibilityChanged)
{
    if (!visibilityChanged)
        return;
    if (autoFit_) {
        postDeferredRelayout();
        return;
    }
    // The vertical bar took or gave back width, which the columns may now need.
    if (updateHorizontalScrollBar()) {
        RecountVisibleRows();
        updateVerticalScrollBar();
    }
    invalidateGrid();
}

} // namespace grid
