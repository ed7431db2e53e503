#include "controls/grid/dbgridex.h"
#include "controls/grid/gridaccessible.h"

#include "data/dataset.h"
#include "platform/eventcall.h"
#include "platform/messagebox.h"

#include <QAbstractSlider>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <utility>

namespace grid {

void TCustomDBGridEx::moveBy(int distance)
{
    if (linkActive() && distance != 0)
        dataSet()->moveBy(distance);
}

void TCustomDBGridEx::repaintCurrentRow()
{
    invalidateRow(row());
}

bool TCustomDBGridEx::mayEdit() const
{
    return options_.testFlag(dgEditing) && !readOnly_ && linkActive() && dataSet()->canModify();
}

bool TCustomDBGridEx::deleteConfirmed() const
{
    return !options_.testFlag(dgConfirmDelete) ||
           platform::messageBox(QStringLiteral("Delete record?"), QStringLiteral("Подтверждение"),
                                platform::mbIconQuestion | platform::mbOkCancel) == platform::idOk;
}

// An inserted record the user has not touched goes away instead of moving.
void TCustomDBGridEx::cancelUnchangedInsert()
{
    dataSet()->cancel();
}

void TCustomDBGridEx::SelectColumnByIndex(int index)
{
    const int last = cells().colCount() - 1;
    int raw = std::clamp(index + indicatorCols_, indicatorCols_, std::max(indicatorCols_, last));
    if (raw != col()) {
        const int before = col();
        platform::callEvent(OnColExit, *this);
        if (col() != before)
            return; // the handler chose another column
        if (!options_.testFlag(dgRowSelect)) {
            setCurrentCell(raw, row());
            setLeftCol(cells().leftColShowing(raw));
        }
        platform::callEvent(OnColEnter, *this);
    }
    repaintCurrentRow();
}

// With dgTabs and without dgRowSelect, Tab and Shift+Tab move to the next and
// previous column that takes edits (visible, bound, not read-only); past the
// last or first one the focus moves on, so the keyboard is never caught.
bool TCustomDBGridEx::focusNextPrevChild(bool next)
{
    if (options_.testFlag(dgTabs) && !options_.testFlag(dgRowSelect) && linkActive() && hasFocus()) {
        const int step = next ? 1 : -1;
        for (int i = col() - indicatorCols_ + step; i >= 0 && i < columns_.count(); i += step) {
            if (columns_[i].isVisible() && !columns_[i].isReadOnly() && columns_[i].field()) {
                SelectColumnByIndex(i);
                return true;
            }
        }
    }
    return CustomGrid::focusNextPrevChild(next);
}

void TCustomDBGridEx::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    platform::callEvent(OnKeyDown, *this, key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }
    if (!linkActive()) {
        CustomGrid::keyPressEvent(event);
        return;
    }
    data::DataSet &ds = *dataSet();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool rowSelect = options_.testFlag(dgRowSelect);
    const bool inserting = ds.state() == data::DataSetState::Insert;
    const int page = visibleDataRows();
    switch (key) {
    case Qt::Key_Up:
        if (ctrl)
            moveBy(-link_.activeRecord());
        else if (inserting && !ds.modified() && ds.eof())
            cancelUnchangedInsert();
        else
            moveBy(-1);
        repaintCurrentRow();
        break;
    case Qt::Key_Down:
        if (ctrl)
            moveBy(link_.recordCount() - link_.activeRecord() - 1);
        else if (inserting && !ds.modified()) {
            if (!ds.eof()) // an untouched record appended at the end stays
                cancelUnchangedInsert();
        } else {
            moveBy(1);
            if (ds.eof() && mayEdit())
                ds.append();
        }
        repaintCurrentRow();
        break;
    case Qt::Key_PageUp: moveBy(ctrl ? -link_.activeRecord() : -page); break;
    case Qt::Key_PageDown: moveBy(ctrl ? link_.recordCount() - link_.activeRecord() - 1 : page); break;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = key == Qt::Key_Home;
        if (ctrl || rowSelect || columns_.count() <= 1)
            home ? ds.first() : ds.last();
        else
            SelectColumnByIndex(home ? 0 : columns_.count() - 1);
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = key == Qt::Key_Left ? -1 : 1;
        const GridGeometry &g = cells();
        if (rowSelect) {
            if (!ctrl && ((step < 0 && g.leftCol() > g.fixedCols()) || (step > 0 && g.colsBeyondRight())))
                setLeftCol(g.leftCol() + step);
        } else if (ctrl) {
            SelectColumnByIndex(step < 0 ? 0 : columns_.count() - 1);
        } else {
            SelectColumnByIndex(col() - indicatorCols_ + step);
        }
        invalidateGrid();
        break;
    }
    case Qt::Key_Escape:
        // While browsing there is nothing to cancel: the key goes on to the
        // window, whose Escape closes it.
        if (ds.state() != data::DataSetState::Edit && !inserting) {
            event->ignore();
            return;
        }
        ds.cancel();
        break;
    case Qt::Key_Insert:
        if (mayEdit())
            ds.insert();
        break;
    case Qt::Key_Delete:
        if (ctrl && mayEdit() && !ds.isEmpty() && deleteConfirmed())
            ds.deleteRecord();
        break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter: break; // no in-place editor
    default: CustomGrid::keyPressEvent(event); return;
    }
    event->accept();
}

// The data column whose right edge is within a few pixels of x, for sizing.
TDBGridColumnEx *TCustomDBGridEx::columnEdgeAt(int x) const
{
    constexpr int grip = 3;
    for (int col : cells().colsInView()) {
        TDBGridColumnEx *column = columnOfGridCol(col);
        const int right = cells().colLeft(col) + cells().colWidth(col);
        if (column && column->isVisible() && std::abs(x - right) <= grip)
            return column;
    }
    return nullptr;
}

void TCustomDBGridEx::mousePressEvent(QMouseEvent *event)
{
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const QPoint pos = toClient(event->position().toPoint());
    const int clickedRow = cells().rowAt(pos.y());
    const int clickedCol = cells().colAt(pos.x());
    if (options_.testFlag(dgColumnResize) && event->button() == Qt::LeftButton && clickedRow >= 0 &&
        clickedRow < titleRows_) {
        if (TDBGridColumnEx *column = columnEdgeAt(pos.x())) {
            sizing_ = {column, pos.x(), column->width()};
            setCursor(Qt::SplitHCursor);
        }
    }
    if (linkActive() && clickedRow >= titleRows_ && isRecordRow(clickedRow)) {
        if (clickedRow != row())
            moveBy(clickedRow - row());
        if (clickedCol >= indicatorCols_)
            SelectColumnByIndex(clickedCol - indicatorCols_);
    }
    CustomGrid::mousePressEvent(event);
    platform::callEvent(OnMouseDown, *this, event->button(), event->modifiers(), pos);
}

void TCustomDBGridEx::mouseMoveEvent(QMouseEvent *event)
{
    CustomGrid::mouseMoveEvent(event);
    if (sizing_.column) {
        const int x = toClient(event->position().toPoint()).x();
        sizing_.column->setWidth(std::max(0, sizing_.startWidth + x - sizing_.startX));
    }
}

void TCustomDBGridEx::mouseReleaseEvent(QMouseEvent *event)
{
    CustomGrid::mouseReleaseEvent(event);
    if (std::exchange(sizing_.column, nullptr)) {
        unsetCursor();
        return; // the end of a sizing is no click
    }
    const QPoint pos = toClient(event->position().toPoint());
    const int clickedRow = cells().rowAt(pos.y());
    TDBGridColumnEx *column = columnOfGridCol(cells().colAt(pos.x()));
    if (event->button() != Qt::LeftButton || !column || clickedRow < 0)
        return;
    if (clickedRow < titleRows_)
        platform::callEvent(OnTitleClick, *this, *column);
    else if (linkActive() && isRecordRow(clickedRow))
        platform::callEvent(OnCellClick, *this, *column);
}

void TCustomDBGridEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    CustomGrid::mouseDoubleClickEvent(event); // a press as well
    if (event->button() == Qt::LeftButton)
        platform::callEvent(OnDblClick, *this);
}

bool TCustomDBGridEx::isRecordRow(int row) const
{
    if (footerRowCount_ == 0)
        return row >= titleRows_;
    return row >= titleRows_ && row < titleRows_ + std::max(recordRows_, 1);
}

void TCustomDBGridEx::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (!linkActive())
        return;
    moveBy(-wheelNotches_.take(event->angleDelta().y()));
}

void TCustomDBGridEx::verticalScrollCommand(int action)
{
    if (!linkActive())
        return;
    data::DataSet &ds = *dataSet();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: moveBy(-(link_.activeRecord() + 1)); break;
    case QAbstractSlider::SliderSingleStepAdd: moveBy(link_.recordCount() - link_.activeRecord()); break;
    case QAbstractSlider::SliderPageStepSub: moveBy(-visibleDataRows()); break;
    case QAbstractSlider::SliderPageStepAdd: moveBy(visibleDataRows()); break;
    case QAbstractSlider::SliderToMinimum: ds.first(); break;
    case QAbstractSlider::SliderToMaximum: ds.last(); break;
    case QAbstractSlider::SliderMove:
        if (vertScrollBar_.Tracking && ds.isSequenced()) {
            moveBy(verticalBar()->sliderPosition() - ds.recNo());
            thumbTracked_ = true;
        }
        break;
    default: break;
    }
}

void TCustomDBGridEx::verticalThumbReleased(int position)
{
    // The dataset already followed the dragged thumb.
    if (!linkActive() || std::exchange(thumbTracked_, false))
        return;
    data::DataSet &ds = *dataSet();
    if (!ds.isSequenced()) {
        switch (position) {
        case 0: ds.first(); break;
        case 1: moveBy(-visibleDataRows()); break;
        case 3: moveBy(visibleDataRows()); break;
        case 4: ds.last(); break;
        default: break;
        }
        return;
    }
    if (position <= 1)
        ds.first();
    else if (position >= ds.recordCount())
        ds.last();
    else
        ds.setRecNo(position);
}

void TCustomDBGridEx::focusInEvent(QFocusEvent *event)
{
    CustomGrid::focusInEvent(event);
    repaintCurrentRow();
    announceFocus(*this);
}

void TCustomDBGridEx::focusOutEvent(QFocusEvent *event)
{
    CustomGrid::focusOutEvent(event);
    repaintCurrentRow();
    data::DataSet *ds = dataSet();
    if (linkActive() && options_.testFlag(dgCancelOnExit) && ds->state() == data::DataSetState::Insert &&
        !ds->modified() && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        ds->cancel();
}

} // namespace grid
