#pragma once

#include "controls/grid/gridgeometry.h"
#include "platform/rect.h"

#include <QWidget>

class QScrollBar;

namespace grid {

// Scroll bar values as classic Windows states them: the page counts inside the
// range, so the last position is max - page + 1.
struct ScrollInfo {
    int min = 0, max = 0, page = 0, pos = 0;
    friend bool operator==(const ScrollInfo &, const ScrollInfo &) = default;
};

// The generic two-dimensional grid: cells by column and row laid out by a
// GridGeometry, a current cell, per-cell painting, the 2-pixel sunken client
// edge (or a 1-pixel flat frame) and 17-pixel scroll bars inside it: the
// vertical one driven by the subclass, the horizontal one scrolling by
// columns. The client area is the widget minus the frame and the shown bars.
class CustomGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int ScrollBarWidth = 17;

    explicit CustomGrid(QWidget *parent = nullptr);

    const GridGeometry &cells() const { return cells_; }
    int col() const { return col_; }
    int row() const { return row_; }
    platform::Rect clientRect() const { return {0, 0, cells_.clientWidth(), cells_.clientHeight()}; }
    int frameWidth() const { return frame_; }

    ScrollInfo verticalScrollInfo() const { return scrollInfo_; }
    bool verticalBarShown() const { return barShown_; }
    QScrollBar *verticalBar() const { return bar_; }
    bool horizontalBarShown() const { return hbarShown_; }
    QScrollBar *horizontalBar() const { return hbar_; }

    // Invalidation, in client coordinates.
    void invalidateRect(const platform::Rect &r);
    void invalidateCell(int col, int row);
    void invalidateRow(int row);
    void invalidateGrid();

protected:
    GridGeometry &cellsForLayout() { return cells_; }
    // Takes the widget's current size; a hidden widget gets its resize
    // event only when shown, but its layout must already fit.
    void syncClientArea() { placeScrollBar(); }
    void setCurrentCell(int col, int row);
    void setFrameWidth(int width);
    // Applies the values and shows or hides the bar; the client width follows
    // at once. Returns whether the bar's visibility changed.
    bool setVerticalScroll(const ScrollInfo &info, bool shown, bool enabled);
    // Shows or hides the horizontal bar, which spans the columns from the
    // first scrollable one to maxLeftCol; returns whether its visibility
    // changed. The left column is kept within that span.
    bool setHorizontalScroll(bool shown);
    // Scrolls the columns so that `col` is the first scrollable one shown.
    void setLeftCol(int col);
    // Moves already painted pixels of `area` (client coordinates) by dy.
    void scrollPixels(const platform::Rect &area, int dy);
    QPoint toClient(QPoint widgetPos) const { return widgetPos - QPoint(frame_, frame_); }

    // Paints the client area; the painter's origin is the client's top left.
    virtual void paintClient(QPainter &p, const platform::Rect &clip) = 0;
    virtual void paintFrame(QPainter &p);
    // The widget was resized (not called for scroll bar changes).
    virtual void clientResized() {}
    // The columns were scrolled by the horizontal bar.
    virtual void leftColChanged() {}
    // A scroll bar action (QAbstractSlider::SliderAction) or release of the thumb.
    virtual void verticalScrollCommand(int action) { Q_UNUSED(action); }
    virtual void verticalThumbReleased(int position) { Q_UNUSED(position); }

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeScrollBar();
    void syncHorizontalBar();

    GridGeometry cells_;
    QScrollBar *bar_;
    QScrollBar *hbar_;
    ScrollInfo scrollInfo_;
    bool barShown_ = false;
    bool hbarShown_ = false;
    int frame_ = 2;
    int col_ = 0;
    int row_ = 0;
};

} // namespace grid
