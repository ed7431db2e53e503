#include "controls/grid/customgrid.h"

#include "platform/colors.h"
#include "platform/drawing.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace grid {

CustomGrid::CustomGrid(QWidget *parent)
    : QWidget(parent), bar_(new QScrollBar(Qt::Vertical, this)), hbar_(new QScrollBar(Qt::Horizontal, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    bar_->hide();
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setTracking(false);
    connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) {
        verticalScrollCommand(action);
        bar_->setSliderPosition(scrollInfo_.pos);
    });
    connect(bar_, &QScrollBar::sliderReleased, this, [this] {
        verticalThumbReleased(bar_->sliderPosition());
        bar_->setSliderPosition(scrollInfo_.pos);
    });
    hbar_->hide();
    hbar_->setFocusPolicy(Qt::NoFocus);
    hbar_->setTracking(false);
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int col) {
        setLeftCol(col);
        leftColChanged();
    });
    placeScrollBar();
}

void CustomGrid::setCurrentCell(int col, int row)
{
    col_ = col;
    row_ = row;
}

void CustomGrid::setFrameWidth(int width)
{
    if (width == frame_)
        return;
    frame_ = width;
    placeScrollBar();
    update();
}

void CustomGrid::placeScrollBar()
{
    const int barWidth = barShown_ ? ScrollBarWidth : 0, barHeight = hbarShown_ ? ScrollBarWidth : 0;
    cells_.setClientSize(width() - 2 * frame_ - barWidth, height() - 2 * frame_ - barHeight);
    bar_->setGeometry(width() - frame_ - ScrollBarWidth, frame_, ScrollBarWidth,
                      std::max(0, height() - 2 * frame_ - barHeight));
    hbar_->setGeometry(frame_, height() - frame_ - ScrollBarWidth, std::max(0, width() - 2 * frame_ - barWidth),
                       ScrollBarWidth);
}

bool CustomGrid::setHorizontalScroll(bool shown)
{
    const bool changed = shown != hbarShown_;
    if (changed) {
        hbarShown_ = shown;
        hbar_->setVisible(shown);
        placeScrollBar();
        update();
    }
    setLeftCol(cells_.leftCol());
    return changed;
}

void CustomGrid::setLeftCol(int col)
{
    col = std::clamp(col, cells_.fixedCols(), cells_.maxLeftCol());
    if (col != cells_.leftCol()) {
        cells_.setLeftCol(col);
        invalidateGrid();
    }
    syncHorizontalBar();
}

void CustomGrid::syncHorizontalBar()
{
    const QSignalBlocker block(hbar_);
    int shownCols = 0;
    for (int c : cells_.colsInView())
        shownCols += c >= cells_.fixedCols();
    hbar_->setRange(cells_.fixedCols(), cells_.maxLeftCol());
    hbar_->setPageStep(std::max(1, shownCols));
    hbar_->setValue(cells_.leftCol());
}

bool CustomGrid::setVerticalScroll(const ScrollInfo &info, bool shown, bool enabled)
{
    scrollInfo_ = info;
    {
        const QSignalBlocker block(bar_);
        bar_->setRange(info.min, std::max(info.min, info.max - std::max(info.page - 1, 0)));
        bar_->setPageStep(std::max(info.page, 1));
        bar_->setValue(info.pos);
    }
    bar_->setEnabled(enabled);
    if (shown == barShown_)
        return false;
    barShown_ = shown;
    bar_->setVisible(shown);
    placeScrollBar();
    update();
    return true;
}

void CustomGrid::invalidateRect(const platform::Rect &r)
{
    platform::Rect visible = r.intersected(clientRect());
    if (!visible.isEmpty())
        update(visible.toQRect().translated(frame_, frame_));
}

void CustomGrid::invalidateCell(int col, int row)
{
    invalidateRect(cells_.cellRect(col, row));
}

void CustomGrid::invalidateRow(int row)
{
    platform::Rect r = cells_.rowRect(row);
    if (!r.isEmpty())
        invalidateRect({0, r.top, cells_.clientWidth(), r.bottom + cells_.lineWidth()});
}

// The frame and the scroll bar repaint themselves when they change; a
// scroll bar costs as much to paint as all the cells on a high-DPI screen.
void CustomGrid::invalidateGrid()
{
    invalidateRect(clientRect());
}

void CustomGrid::scrollPixels(const platform::Rect &area, int dy)
{
    platform::Rect visible = area.intersected(clientRect());
    if (!visible.isEmpty())
        scroll(0, dy, visible.toQRect().translated(frame_, frame_));
}

void CustomGrid::paintFrame(QPainter &p)
{
    platform::Rect whole{0, 0, width(), height()};
    platform::drawEdge(p, whole, frame_ == 1 ? platform::BDR_SUNKENOUTER : platform::EDGE_SUNKEN);
}

void CustomGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    QRect inner = rect().adjusted(frame_, frame_, -frame_, -frame_);
    if (!inner.contains(event->rect()))
        paintFrame(p);
    QRect clip = event->rect().intersected(QRect(frame_, frame_, cells_.clientWidth(), cells_.clientHeight()));
    if (clip.isEmpty())
        return;
    p.setClipRect(clip);
    p.translate(frame_, frame_);
    paintClient(p, platform::Rect::fromQRect(clip.translated(-frame_, -frame_)));
}

void CustomGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeScrollBar();
    clientResized();
}

} // namespace grid
