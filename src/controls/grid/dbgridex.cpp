#include "controls/grid/dbgridex.h"

#include "controls/grid/gridaccessible.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/eventcall.h"

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
    sumList_.OnRecalcAll = [this](TDBGridExSumList &) { platform::callEvent(OnSumListRecalcAll, *this); };
    sumList_.OnAfterRecalcAll = [this](TDBGridExSumList &) { platform::callEvent(OnSumListAfterRecalcAll, *this); };
    if (parent)
        parent->installEventFilter(this);
    cellsForLayout().setColCount(2, DefaultColWidth);
    cellsForLayout().setRowCount(2);
}

TCustomDBGridEx::~TCustomDBGridEx()
{
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
    else if (event->type() == QEvent::PaletteChange)
        takeParentColor();
}

} // namespace grid
