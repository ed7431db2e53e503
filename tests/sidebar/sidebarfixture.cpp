#include "sidebarfixture.h"

#include "app/sidemenu.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "platform/colors.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

QImage discPicture(const QColor &color)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(0, 0, 32, 32);
    return image;
}

MenuBar::MenuBar()
{
    const QColor colors[] = {Qt::darkRed,    Qt::darkGreen, Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta,
                             Qt::darkYellow, Qt::red,       Qt::green,    Qt::blue};
    for (const QColor &color : colors)
        images.Add(discPicture(color));

    bar.setGeometry(0, 0, 97, 482);
    bar.setColor(platform::colors::clInfoBk);
    bar.setCanSelected(false);
    bar.setGroupFont(platform::makeFont());
    bar.setGroupFontColor(platform::colors::clWindowText);
    bar.setItemFont(platform::makeFont());
    bar.setItemFontColor(platform::colors::clBlack);
    bar.setLargeImages(&images);
    bar.setPaintStyle(sbpsXP);
    bar.setScrollDelay(300);
    bar.setSpaceHeight(7);
    bar.setGroupHeightOffSet(0);
    bar.setTransparentImages(true);
    bar.setShowGroups(true);
    bar.setDragMode(dmAutomatic);

    TSideGroup &group = bar.groups().Add();
    group.setCaption(QStringLiteral("МЕНЮ"));
    for (const sidemenu::MenuItem &entry : sidemenu::MenuItems) {
        TSideBarItem &item = group.items().Add();
        item.setCaption(QString::fromUtf8(entry.caption));
        item.Tag = entry.tag;
        item.setLargeImage(entry.largeImage);
    }
    bar.setActiveGroupIndex(0);
}

QStringList MenuBar::captions() const
{
    QStringList result;
    const TSideBarItems &items = bar.groups()[0]->items();
    for (int i = 0; i < items.count(); ++i)
        result << items[i]->caption();
    return result;
}

QList<int> MenuBar::tags() const
{
    QList<int> result;
    const TSideBarItems &items = bar.groups()[0]->items();
    for (int i = 0; i < items.count(); ++i)
        result << items[i]->Tag;
    return result;
}

void sendMouse(TSideBar &bar, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, QPointF(pos), QPointF(bar.mapToGlobal(pos)), button, held, modifiers);
    QApplication::sendEvent(&bar, &event);
}

void press(TSideBar &bar, QPoint pos, Qt::MouseButton button)
{
    sendMouse(bar, QEvent::MouseButtonPress, pos, button, button);
}

void moveHeld(TSideBar &bar, QPoint pos, Qt::KeyboardModifiers modifiers)
{
    sendMouse(bar, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, modifiers);
}

void moveFree(TSideBar &bar, QPoint pos)
{
    sendMouse(bar, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

void release(TSideBar &bar, QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    sendMouse(bar, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

QPoint pictureCentre(TSideBar &bar, const TSideBarItem &item)
{
    const platform::Rect r = bar.viewInfo().ItemInfo(&item)->PictureBounds;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

QPoint gapAbove(TSideBar &bar, const TSideBarItem &item)
{
    const TSideItemViewInfo *info = bar.viewInfo().ItemInfo(&item);
    return {48, info->top() - 2};
}
