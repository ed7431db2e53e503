#include "controls/grid/dbgridex.h"

#include "controls/grid/gridaccessible.h"
#include "controls/grid/numberformat.h"
#include "data/dataset.h"
#include "data/field.h"
#include "platform/accessibility.h"
#include "platform/colors.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>

namespace grid {

// ---- data link

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

// ---- construction and properties

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

void TCustomDBGridEx::setDataSource(data::DataSource *source)
{
    link_.setDataSource(source); // the link reports the change of active state
}

void TCustomDBGridEx::setOptions(TDBGridOptions options)
{
    if (options.testFlag(dgRowSelect))
        options &= ~TDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (options == options_)
        return;
    static const TDBGridOptions layoutOptions{dgEditing,  dgAlwaysShowEditor, dgTitles,    dgIndicator,
                                              dgColLines, dgRowLines,         dgRowSelect, dgAlwaysShowSelection};
    bool relayout = (options ^ options_).testAnyFlags(layoutOptions);
    options_ = options;
    if (relayout)
        ReflowLayout();
    else
        invalidateGrid();
}

void TCustomDBGridEx::setOptionsEx(TDBGridExOptions options)
{
    if (options == optionsEx_)
        return;
    optionsEx_ = options;
    ReflowLayout();
}

void TCustomDBGridEx::setAutoFitColWidths(bool on)
{
    if (on == autoFit_)
        return;
    autoFit_ = on;
    if (!loading_) {
        if (on) {
            takeAutoFitBases();
        } else {
            LockLayout();
            for (int i = 0; i < columns_.count(); ++i)
                columns_[i].setWidth(columns_[i].autoFitBaseWidth());
            UnlockLayout();
        }
    }
    ReflowLayout();
}

void TCustomDBGridEx::takeAutoFitBases()
{
    for (int i = 0; i < columns_.count(); ++i)
        columns_[i].setAutoFitBaseWidth(columns_[i].width());
}

void TCustomDBGridEx::setMinAutoFitWidth(int width)
{
    if (width < 0 || width == minAutoFitWidth_)
        return;
    minAutoFitWidth_ = width;
    ReflowLayout();
}

void TCustomDBGridEx::setUseMultiTitle(bool on)
{
    if (on == useMultiTitle_)
        return;
    useMultiTitle_ = on;
    ReflowLayout();
}

void TCustomDBGridEx::setVTitleMargin(int margin)
{
    if (margin < 0 || margin == vTitleMargin_)
        return;
    vTitleMargin_ = margin;
    ReflowLayout();
}

void TCustomDBGridEx::setFlat(bool on)
{
    if (on == flat_)
        return;
    flat_ = on;
    setFrameWidth(on ? 1 : 2);
    ReflowLayout();
}

void TCustomDBGridEx::setReadOnly(bool on)
{
    if (on == readOnly_)
        return;
    readOnly_ = on;
    invalidateGrid();
}

void TCustomDBGridEx::setFooterRowCount(int count)
{
    if (count < 0 || count == footerRowCount_)
        return;
    footerRowCount_ = count;
    ReflowLayout();
}

void TCustomDBGridEx::setFooterColor(const QColor &color)
{
    if (color == footerColor_)
        return;
    footerColor_ = color;
    footerChanged();
}

QFont TCustomDBGridEx::footerFont() const
{
    return footerFont_.value([this] { return font(); });
}

void TCustomDBGridEx::setFooterFont(const QFont &font)
{
    if (footerFont_.assign(font))
        footerChanged();
}

void TCustomDBGridEx::setFooterFontColor(const QColor &color)
{
    if (color == footerFontColor_)
        return;
    footerFontColor_ = color;
    footerChanged();
}

QFont TCustomDBGridEx::titleFont() const
{
    return titleFont_.value([this] { return font(); });
}

void TCustomDBGridEx::setTitleFont(const QFont &font)
{
    if (titleFont_.assign(font) && options_.testFlag(dgTitles))
        ReflowLayout();
}

void TCustomDBGridEx::setColor(const QColor &color)
{
    if (color == color_)
        return;
    color_ = color;
    invalidateGrid();
}

void TCustomDBGridEx::setFixedColor(const QColor &color)
{
    if (color == fixedColor_)
        return;
    fixedColor_ = color;
    invalidateGrid();
}

void TCustomDBGridEx::setVertScrollBar(const TVertDBGridExScrollBar &settings)
{
    vertScrollBar_ = settings;
    verticalBar()->setTracking(settings.Tracking); // SliderMove while the thumb is dragged
    scrollBarMayHaveChanged(updateVerticalScrollBar());
}

void TCustomDBGridEx::changeEvent(QEvent *event)
{
    CustomGrid::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ReflowLayout(); // derived fonts are read afresh
}

// ---- column model notifications

void TCustomDBGridEx::columnChanged(TDBGridColumnEx &column)
{
    if (loading_ || layoutInProgress_)
        return;
    int col = gridColumnOf(column);
    if (col >= 0 && col < cells().colCount())
        invalidateRect({cells().colLeft(col), 0, cells().colLeft(col) + cells().colWidth(col), cells().clientHeight()});
    if (!autoFit_) {
        if (col >= 0 && col < cells().colCount() && column.isVisible() && cells().colWidth(col) != column.width()) {
            cellsForLayout().setColWidth(col, column.width());
            invalidateGrid();
        } else if (useMultiTitle_) {
            ReflowLayout();
        }
        return;
    }
    int index = columns_.indexOf(column);
    int oldWidth = col >= 0 && col < cells().colCount() ? cells().colWidth(col) : 0;
    if (column.isVisible() && oldWidth > 0 && column.width() != oldWidth) {
        int oldBase = column.autoFitBaseWidth();
        int newBase = static_cast<int>(std::lround(static_cast<double>(oldBase) * column.width() / oldWidth));
        column.setAutoFitBaseWidth(newBase);
        if (index + 1 < columns_.count()) {
            TDBGridColumnEx &next = columns_[index + 1];
            next.setAutoFitBaseWidth(std::max(0, next.autoFitBaseWidth() + oldBase - newBase));
        }
    }
    ReflowLayout();
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

// ---- footer texts

QString TCustomDBGridEx::FooterText(int footerRow, TDBGridColumnEx &column) const
{
    TColumnFooterEx &footer = column.footerOfRow(footerRow);
    switch (footer.valueType()) {
    case fvtNon: return {};
    case fvtStaticText: return footer.value();
    case fvtCount: {
        double n = footer.sumItem() ? footer.sumItem()->asFloat() : 0;
        return footer.displayFormat().isEmpty() ? formatGeneral(n) : formatFloat(footer.displayFormat(), n);
    }
    case fvtSum:
    case fvtAvg:
        // Every field of this engine holds text, which has no numeric
        // display: such aggregates show "0", as for a missing field.
        return QStringLiteral("0");
    case fvtFieldValue: {
        data::DataSet *ds = dataSet();
        if (!ds || !ds->active() || footer.fieldName().isEmpty())
            return {};
        data::Field *field = ds->findField(footer.fieldName());
        if (!field)
            return {};
        QString text = field->displayText();
        bool numeric = false;
        double v = text.toDouble(&numeric);
        return numeric && !footer.displayFormat().isEmpty() ? formatFloat(footer.displayFormat(), v) : text;
    }
    }
    return {};
}

// ---- following the dataset

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

// ---- vertical scroll bar

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

void TCustomDBGridEx::scrollBarMayHaveChanged(bool visibilityChanged)
{
    if (!visibilityChanged)
        return;
    if (autoFit_)
        postDeferredRelayout();
    else
        invalidateGrid();
}

} // namespace grid
