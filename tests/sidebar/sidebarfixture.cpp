#include "sidebarfixture.h"

#include "app/sidemenu.h"
#include "platform/colors.h"
#include "platform/fonts.h"
#include "controls/sidebar/sidebarviewinfo.h"

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
    const QColor colors[] = {Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta,
                             Qt::darkYellow, Qt::red, Qt::green, Qt::blue};
    for (const QColor &color : colors)
        images.Add(discPicture(color));

    bar.setGeometry(0, 0, 97, 482);
    bar.SetColor(platform::colors::clInfoBk);
    bar.SetCanSelected(false);
    bar.SetGroupFont(platform::makeFont());
    bar.SetGroupFontColor(platform::colors::clWindowText);
    bar.SetItemFont(platform::makeFont());
    bar.SetItemFontColor(platform::colors::clBlack);
    bar.SetLargeImages(&images);
    bar.SetPaintStyle(sbpsXP);
    bar.SetScrollDelay(300);
    bar.SetSpaceHeight(7);
    bar.SetGroupHeightOffSet(0);
    bar.SetTransparentImages(true);
    bar.SetShowGroups(true);
    bar.SetDragMode(dmAutomatic);

    TSideGroup &group = bar.Groups().Add();
    group.SetCaption(QStringLiteral("МЕНЮ"));
    for (const sidemenu::MenuItem &entry : sidemenu::MenuItems) {
        TSideBarItem &item = group.Items().Add();
        item.SetCaption(QString::fromUtf8(entry.caption));
        item.Tag = entry.tag;
        item.SetLargeImage(entry.largeImage);
    }
    bar.SetActiveGroupIndex(0);
}

QStringList MenuBar::captions() const
{
    QStringList result;
    const TSideBarItems &items = bar.Groups()[0]->Items();
    for (int i = 0; i < items.Count(); ++i)
        result << items[i]->Caption();
    return result;
}

QList<int> MenuBar::tags() const
{
    QList<int> result;
    const TSideBarItems &items = bar.Groups()[0]->Items();
    for (int i = 0; i < items.Count(); ++i)
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

void moveFree(TSideBar &bar, QPoint pos) { sendMouse(bar, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton); }

void release(TSideBar &bar, QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    sendMouse(bar, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

QPoint pictureCentre(TSideBar &bar, const TSideBarItem &item)
{
    const platform::Rect r = bar.ViewInfo().ItemInfo(&item)->PictureBounds;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

QPoint gapAbove(TSideBar &bar, const TSideBarItem &item)
{
    const TSideItemViewInfo *info = bar.ViewInfo().ItemInfo(&item);
    return {48, info->Top() - 2};
}
