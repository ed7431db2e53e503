#include "controls/grid/dbgridex.h"
#include "controls/grid/gridaccessible.h"

#include "data/dataset.h"

#include <QAbstractSlider>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
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

// An inserted record the user has not touched goes away instead of moving.
void TCustomDBGridEx::cancelUnchangedInsert()
{
    dataSet()->cancel();
}

void TCustomDBGridEx::SelectColumnByIndex(int index)
{
    const int last = cells().colCount() - 1;
    int raw = std::clamp(index + indicatorCols_, indicatorCols_, std::max(indicatorCols_, last));
    if (raw != col() && !options_.testFlag(dgRowSelect))
        setCurrentCell(raw, row());
    repaintCurrentRow();
}

void TCustomDBGridEx::keyPressEvent(QKeyEvent *event)
{
    if (!linkActive()) {
        CustomGrid::keyPressEvent(event);
        return;
    }
    data::DataSet &ds = *dataSet();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool rowSelect = options_.testFlag(dgRowSelect);
    const bool inserting = ds.state() == data::DataSetState::Insert;
    const int page = visibleDataRows();
    switch (event->key()) {
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
        else if (inserting && !ds.modified())
            cancelUnchangedInsert();
        else
            moveBy(1);
        repaintCurrentRow();
        break;
    case Qt::Key_PageUp: moveBy(ctrl ? -link_.activeRecord() : -page); break;
    case Qt::Key_PageDown: moveBy(ctrl ? link_.recordCount() - link_.activeRecord() - 1 : page); break;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = event->key() == Qt::Key_Home;
        if (ctrl || rowSelect || columns_.count() <= 1) {
            home ? ds.first() : ds.last();
        } else {
            setCurrentCell(home ? indicatorCols_ : cells().colCount() - 1, row());
            repaintCurrentRow();
        }
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        GridGeometry &g = cellsForLayout();
        if (ctrl) {
            if (!rowSelect)
                setCurrentCell(step < 0 ? indicatorCols_ : g.colCount() - 1, row());
        } else if (rowSelect) {
            if ((step < 0 && g.leftCol() > g.fixedCols()) || (step > 0 && g.colsBeyondRight()))
                g.setLeftCol(g.leftCol() + step);
        } else {
            setCurrentCell(std::clamp(col() + step, indicatorCols_, g.colCount() - 1), row());
        }
        invalidateGrid();
        break;
    }
    case Qt::Key_Escape:
        if (ds.state() == data::DataSetState::Edit || inserting)
            ds.cancel();
        break;
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter: break; // a read-only row-select grid neither edits, inserts nor deletes
    default: CustomGrid::keyPressEvent(event); return;
    }
    event->accept();
}

void TCustomDBGridEx::mousePressEvent(QMouseEvent *event)
{
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const QPoint pos = toClient(event->position().toPoint());
    const int clickedRow = cells().rowAt(pos.y());
    const int clickedCol = cells().colAt(pos.x());
    if (linkActive() && clickedRow >= titleRows_ && isRecordRow(clickedRow)) {
        if (clickedRow != row())
            moveBy(clickedRow - row());
        if (clickedCol >= indicatorCols_)
            SelectColumnByIndex(clickedCol - indicatorCols_);
    }
    CustomGrid::mousePressEvent(event);
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
    announceCurrentRecord(*this);
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
