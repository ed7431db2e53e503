#include "controls/grid/dbgridex.h"

#include "data/dataset.h"
#include "platform/drawing.h"
#include "platform/eventcall.h"
#include "platform/muldiv.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScopedValueRollback>
#include <algorithm>
#include <optional>
#include <utility>

namespace grid {

namespace {

constexpr QEvent::Type DeferredRelayoutType = static_cast<QEvent::Type>(TCustomDBGridEx::DeferredRelayoutEvent);

int titleMarginOf(bool flat)
{
    return flat ? 2 : 4;
}

} // namespace

void TCustomDBGridEx::LockLayout()
{
    ++layoutLock_;
}

void TCustomDBGridEx::UnlockLayout()
{
    if (layoutLock_ > 0 && --layoutLock_ == 0)
        ReflowLayout();
}

void TCustomDBGridEx::postDeferredRelayout()
{
    if (relayoutPosted_)
        return;
    relayoutPosted_ = true;
    QCoreApplication::postEvent(this, new QEvent(DeferredRelayoutType));
}

bool TCustomDBGridEx::event(QEvent *event)
{
    if (event->type() == QEvent::ParentAboutToChange && parentWidget())
        parentWidget()->removeEventFilter(this);
    if (event->type() == QEvent::ParentChange) {
        if (parentWidget())
            parentWidget()->installEventFilter(this);
        takeParentColor();
        takeParentFont();
    }
    if (event->type() != DeferredRelayoutType)
        return CustomGrid::event(event);
    relayoutPosted_ = false;
    if (layoutLock_ > 0 || layoutInProgress_)
        postDeferredRelayout();
    else
        ReflowLayout();
    return true;
}

// The parent's font changes reach a grid with a font of its own only here.
bool TCustomDBGridEx::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::FontChange)
        takeParentFont();
    return CustomGrid::eventFilter(watched, event);
}

void TCustomDBGridEx::clientResized()
{
    if (loading_)
        return;
    if (autoFit_) {
        ReflowLayout();
    } else {
        updateHorizontalScrollBar();
        RecountVisibleRows();
        scrollBarMayHaveChanged(updateVerticalScrollBar());
    }
}

// Hidden columns get width 0, or -1 with column lines so that their line goes too.
int TCustomDBGridEx::gridWidthOf(const TDBGridColumnEx &column) const
{
    return column.isVisible() ? column.width() : (options_.testFlag(dgColLines) ? -1 : 0);
}

int TCustomDBGridEx::gridColumnOf(const TDBGridColumnEx &column) const
{
    int index = columns_.indexOf(column);
    return index < 0 ? -1 : index + indicatorCols_;
}

TDBGridColumnEx *TCustomDBGridEx::columnOfGridCol(int col) const
{
    int index = col - indicatorCols_;
    return index >= 0 && index < columns_.count() ? &columns_[index] : nullptr;
}

void TCustomDBGridEx::ReflowLayout()
{
    if (loading_ || layoutInProgress_)
        return;
    if (layoutLock_ > 0)
        return; // the outermost UnlockLayout runs it
    QCoreApplication::removePostedEvents(this, DeferredRelayoutType);
    relayoutPosted_ = false;
    {
        const QScopedValueRollback inProgress(layoutInProgress_, true);
        reflow();
    }
    reportColWidths(); // its handler may change the layout again
}

void TCustomDBGridEx::reportColWidths()
{
    std::vector<int> widths;
    for (int col = indicatorCols_; col < cells().colCount(); ++col)
        widths.push_back(cells().colWidth(col));
    if (widths == shownColWidths_)
        return;
    shownColWidths_ = std::move(widths);
    platform::callEvent(OnColWidthsChanged, *this);
}

void TCustomDBGridEx::reflow()
{
    syncClientArea();
    GridGeometry &g = cellsForLayout();
    const int line = 1;
    g.setLineWidth(line);
    indicatorCols_ = options_.testFlag(dgIndicator) ? 1 : 0;
    columns_.updateAutomatic(dataSet());
    for (int i = 0; i < columns_.count(); ++i)
        columns_[i].bindField();

    bool anyVisible = false;
    for (int i = 0; i < columns_.count(); ++i)
        anyVisible |= columns_[i].isVisible();
    int oldLeft = g.leftCol();
    g.setFixedCols(0);
    g.setColCount(columns_.count() + indicatorCols_, DefaultColWidth);
    g.setFixedCols(std::max(0, indicatorCols_ - (anyVisible ? 0 : 1)));
    titleRows_ = options_.testFlag(dgTitles) ? 1 : 0;

    const int rowLines = options_.testFlag(dgRowLines) ? line : 0;
    const QFontMetrics metrics(font());
    const int dataHeight = rowHeight_ > 0 || rowLines_ > 0
                               ? rowHeight_ + (metrics.height() + metrics.leading()) * rowLines_
                               : platform::textHeight(font()) + (flat_ ? 1 : 3) + rowLines;
    const QFont tallestTitle = tallestTitleFont();
    int titleHeight = titleRows_ ? platform::textHeight(tallestTitle) + titleMarginOf(flat_) : 0;

    wrapAllowed_ = metrics.height() + metrics.leading() + titleMarginOf(flat_) < dataHeight;

    ApplyColumnWidths();
    if (autoFit_)
        FitColumnsToWidth();
    if (titleRows_ && useMultiTitle_) {
        buildTitleTree();
        titleHeight = titleTree_.height() - (optionsEx_.testFlag(dgxFixed3D) ? 1 : 3);
    }
    if (titleRows_ && (titleHeight_ > 0 || titleLines_ > 0)) {
        const QFontMetrics title(tallestTitle);
        titleHeight = titleLines_ * title.height() + title.leading() + 2 + titleHeight_ + rowLines;
    }
    ApplyColumnWidths();

    g.setFixedRows(0);
    g.setRowCount(std::max(g.rowCount(), titleRows_ + 1));
    g.setDefaultRowHeight(dataHeight);
    if (titleRows_)
        g.setRowHeight(0, titleHeight);
    g.setFixedRows(titleRows_);
    g.setTopRow(titleRows_);
    g.setLeftCol(std::clamp(oldLeft, g.fixedCols(), std::max(g.fixedCols(), g.colCount() - 1)));
    const bool horizontalBarChanged = updateHorizontalScrollBar();
    RecountVisibleRows();
    if (horizontalBarChanged)
        scrollBarMayHaveChanged(updateVerticalScrollBar());
    if (col() < g.fixedCols() || col() >= g.colCount())
        setCurrentCell(std::min(indicatorCols_, g.colCount() - 1), row());
    leaveHiddenColumn();
    followActiveRecord();
    invalidateGrid();
}

QFont TCustomDBGridEx::tallestTitleFont() const
{
    QFont tallest = titleFont();
    for (int i = 0; i < columns_.count(); ++i) {
        const QFont font = columns_[i].title().font();
        if (i == 0 || platform::textHeight(font) > platform::textHeight(tallest))
            tallest = font;
    }
    return tallest;
}

void TCustomDBGridEx::ApplyColumnWidths()
{
    GridGeometry &g = cellsForLayout();
    for (int i = 0; i < columns_.count() && i + indicatorCols_ < g.colCount(); ++i)
        g.setColWidth(i + indicatorCols_, gridWidthOf(columns_[i]));
    if (indicatorCols_)
        g.setColWidth(0, IndicatorWidth);
}

void TCustomDBGridEx::FitColumnsToWidth()
{
    std::vector<TDBGridColumnEx *> visible;
    for (int i = 0; i < columns_.count(); ++i) {
        columns_[i].setClamped(false);
        if (columns_[i].isVisible())
            visible.push_back(&columns_[i]);
    }
    const bool indicator = options_.testFlag(dgIndicator), colLines = options_.testFlag(dgColLines);
    auto fitting = [](const TDBGridColumnEx *c) { return c->autoFitColWidth() && !c->clamped(); };
    int target = 0, sum = 0;
    for (size_t pass = 0; pass < visible.size(); ++pass) {
        updateVerticalScrollBar();
        int fixedSum = 0, baseSum = 0;
        for (TDBGridColumnEx *c : visible) {
            if (fitting(c))
                baseSum += c->autoFitBaseWidth();
            else
                fixedSum += c->width();
        }
        target = std::max(0, std::max(cells().clientWidth(), minAutoFitWidth_) - fixedSum);
        if (indicator)
            target -= IndicatorWidth;
        if (colLines)
            target -= static_cast<int>(visible.size());
        if (indicator && colLines)
            target -= 1;
        bool clampHappened = false;
        sum = 0;
        for (TDBGridColumnEx *c : visible) {
            if (!fitting(c))
                continue;
            // Without a base to share (all bases 0) the width stays as it is.
            if (const std::optional<int> w = platform::mulDiv(c->autoFitBaseWidth(), target, baseSum)) {
                c->setWidth(*w);
                if (c->width() != *w) {
                    c->setClamped(true);
                    clampHappened = true;
                }
            }
            sum += c->width();
        }
        if (!clampHappened)
            break;
    }
    if (sum == target)
        return;
    for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
        if (fitting(*it)) {
            (*it)->setWidth(std::max(0, (*it)->width() + target - sum));
            break;
        }
    }
}

void TCustomDBGridEx::buildTitleTree()
{
    std::vector<TitleLeaf> leaves;
    bool colLines = options_.testFlag(dgColLines);
    for (int i = 0; i < columns_.count(); ++i) {
        TDBGridColumnEx &c = columns_[i];
        leaves.push_back({c.title().caption(), gridWidthOf(c), 0, &c});
    }
    titleTree_.build(leaves, colLines ? 1 : 0, titleRowHeight(), vTitleMargin_, titleFont());
}

void TCustomDBGridEx::RecountVisibleRows()
{
    syncClientArea();
    GridGeometry &g = cellsForLayout();
    const int line = options_.testFlag(dgRowLines) ? g.lineWidth() : 0;
    const int dataHeight = g.defaultRowHeight();
    const int titleHeight = titleRowHeight();
    const int oldRowCount = g.rowCount();

    int overhead = titleRows_ ? titleHeight + line : 0;
    if (footerRowCount_ > 0)
        overhead += footerRowCount_ * (dataHeight + line) + line;

    data::DataSet *ds = dataSet();
    int rows = titleRows_;
    int fillerHeight = -1; // none
    if (linkActive() && !ds->isEmpty()) {
        int fit = std::max(1, (g.clientHeight() - overhead) / (dataHeight + line));
        {
            const QScopedValueRollback resizing(resizingWindow_, true);
            link_.setBufferCount(fit);
        }
        recordRows_ = link_.recordCount();
        overhead += recordRows_ * (dataHeight + line);
        rows += recordRows_;
        if (footerRowCount_ > 0) {
            fillerHeight = std::max(0, g.clientHeight() - overhead);
            rows += 1 + footerRowCount_;
        }
    } else {
        recordRows_ = 0;
        overhead += dataHeight;
        rows += 1;
        if (footerRowCount_ > 0) {
            fillerHeight = std::max(0, g.clientHeight() - overhead - line);
            rows += 1 + footerRowCount_;
        }
    }
    g.setFixedRows(0);
    g.setRowCount(rows);
    g.setDefaultRowHeight(dataHeight);
    if (titleRows_)
        g.setRowHeight(0, titleHeight);
    g.setFixedRows(titleRows_);
    g.setTopRow(titleRows_);
    if (fillerHeight >= 0)
        g.setRowHeight(firstFooterRow() - 1, fillerHeight);
    followActiveRecord();
    if (rows != oldRowCount)
        invalidateGrid();
}

int TCustomDBGridEx::visibleDataRows() const
{
    int rows = cells().fullyVisibleRows();
    if (footerRowCount_ > 0)
        rows -= footerRowCount_ + 1;
    return std::max(1, rows);
}

} // namespace grid
