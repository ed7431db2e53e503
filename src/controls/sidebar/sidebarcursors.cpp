#include "controls/sidebar/sidebarcursors.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace {

// An arrow with a small sheet of paper under it and, for copy and delete, a
// box with a plus or a cross.
QCursor dragCursor(TSideBarCursor number)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon(
        {QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16), QPoint(6, 10), QPoint(11, 10)}));
    p.drawPolygon(QPolygon({QPoint(8, 18), QPoint(15, 18), QPoint(18, 21), QPoint(18, 27), QPoint(8, 27)}));
    p.drawLine(15, 18, 15, 21);
    p.drawLine(15, 21, 18, 21);
    if (number != crSideBarDrag) {
        p.drawRect(19, 19, 10, 10);
        if (number == crSideBarDragCopy) {
            p.drawLine(21, 24, 27, 24);
            p.drawLine(24, 21, 24, 27);
        } else {
            p.drawLine(21, 21, 27, 27);
            p.drawLine(21, 27, 27, 21);
        }
    }
    p.end();
    return QCursor(pixmap, 0, 0);
}

} // namespace

QCursor SideBarCursor(TSideBarCursor number)
{
    if (number == crSideBarGroup)
        return QCursor(Qt::PointingHandCursor);
    // Made once; the table lives as long as the application object.
    static QHash<int, QCursor> *table = nullptr;
    if (!table) {
        table = new QHash<int, QCursor>;
        QObject::connect(qApp, &QObject::destroyed, [] {
            delete table;
            table = nullptr;
        });
    }
    auto found = table->find(number);
    if (found == table->end())
        found = table->insert(number, dragCursor(number));
    return *found;
}
