#include "controls/grid/dbgridex.h"

#include "controls/grid/gridaccessible.h"
#include "platform/accessibility.h"
#include "platform/colors.h"

#include <QEvent>

namespace grid {

TCustomDBGridEx::TCustomDBGridEx(QWidget *parent)
    : CustomGrid(parent), sumList_([this] { return loading_; }), footerColor_(platform::colors::clWindow),
      footerFontColor_(platform::colors::clWindowText), color_(platform::colors::clWindow),
      fixedColor_(platform::colors::clBtnFace)
{
    platform::registerAccessible<TCustomDBGridEx>(createGridAccessible);
    sumList_.SumListChanged = [this] {
        for (int row = firstFooterRow(); row < cells().rowCount(); ++row)
            invalidateRow(row);
    };
    cellsForLayout().setColCount(2, DefaultColWidth);
    cellsForLayout().setRowCount(2);
}

TCustomDBGridEx::~TCustomDBGridEx()
{
    // The list gives the handlers back to a dataset still reachable; one that
    // is not may be gone already.
    if (sumList_.dataSet() != link_.dataSet())
        sumList_.forgetDataSet();
    loading_ = true; // no layout or recount while the columns go
    columns_.clear();
}

void TCustomDBGridEx::loaded()
{
    loading_ = false;
    if (autoFit_)
        takeAutoFitBases();
    relinkAllFooters();
    sumList_.loaded();
    ReflowLayout();
    postDeferredRelayout();
}

void TCustomDBGridEx::changeEvent(QEvent *event)
{
    CustomGrid::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ReflowLayout(); // derived fonts are read afresh
}

} // namespace grid
