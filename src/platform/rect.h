#pragma once

#include <QRect>

namespace platform {

// A rectangle as classic Windows' drawing interface states it: right and bottom
// are exclusive, so (1, 1, 96, 22) is 95 x 21 pixels. Layout code and tests
// speak this form; painting converts to QRect at the last moment.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool contains(QPoint p) const { return contains(p.x(), p.y()); }
    constexpr Rect inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    constexpr Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect intersected(const Rect &o) const
    {
        return {left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
                bottom < o.bottom ? bottom : o.bottom};
    }
    constexpr bool intersects(const Rect &o) const { return !intersected(o).isEmpty(); }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    static Rect fromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend constexpr bool operator==(const Rect &, const Rect &) = default;
};

} // namespace platform
