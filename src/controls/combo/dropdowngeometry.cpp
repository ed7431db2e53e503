#include "controls/combo/dropdowngeometry.h"

#include <algorithm>
#include <cmath>

namespace combo {

int autoHeight(int charHeight)
{
    const int borderHeight = 1;
    return charHeight + 8 * borderHeight;
}

QRect buttonRect(QSize client, int buttonWidth)
{
    const bool square = std::lround(buttonWidth * 1.5) < client.height();
    const int height = square ? buttonWidth : client.height();
    return {client.width() - buttonWidth, 0, buttonWidth, height};
}

int listHeight(int rows, int itemHeight)
{
    return rows * itemHeight + 2 * kEdgeWidth;
}

int snapToRows(int height, int itemHeight)
{
    const int rows = std::max(1, (height - 2 * kEdgeWidth) / std::max(1, itemHeight));
    return listHeight(rows, itemHeight);
}

QRect placeDropDownList(const DropDownPlacement &p)
{
    const QRect &work = p.workArea;
    const int workBottom = work.y() + work.height();
    const int controlBottom = p.control.y() + p.control.height();
    const int roomBelow = workBottom - controlBottom;
    const int roomAbove = p.control.y() - work.y();

    int height = p.list.height();
    bool above = false;
    if (height > roomBelow) {
        if (height <= roomAbove) {
            above = true;
        } else {
            above = roomAbove > roomBelow;
            height = snapToRows(above ? roomAbove : roomBelow, p.itemHeight);
        }
    }
    const int top = above ? p.control.y() - height : controlBottom;

    const int width = std::min(p.list.width(), work.width());
    int left = p.control.x();
    if (p.align == daRight)
        left = p.control.x() + p.control.width() - width;
    else if (p.align == daCenter)
        left = p.control.x() + (p.control.width() - width) / 2;
    left = std::clamp(left, work.x(), work.x() + work.width() - width);
    return {left, top, width, height};
}

} // namespace combo
