#pragma once

#include "controls/sidebar/imagelist.h"
#include "controls/sidebar/sidebar.h"

#include <QEvent>
#include <QImage>
#include <QStringList>
#include <memory>

// A bar set up as the main window declares its menu: 97 x 482, XP style,
// one group "МЕНЮ" with five large-icon items, a 32 x 32 list of 9 pictures.
struct MenuBar {
    MenuBar();

    TSideBarItem &item(int index) const { return *bar.groups()[0]->items()[index]; }
    QStringList captions() const;
    QList<int> tags() const;

    ImageList images{32, 32};
    TSideBar bar;
};

// A 32 x 32 picture: a filled disc of `color`, transparent in the corners.
QImage discPicture(const QColor &color);
// Sends a pointer event straight to the bar, with the buttons held after it.
void sendMouse(TSideBar &bar, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void press(TSideBar &bar, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
void moveHeld(TSideBar &bar, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void moveFree(TSideBar &bar, QPoint pos);
void release(TSideBar &bar, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             Qt::MouseButton button = Qt::LeftButton);
// Centre of an item's picture.
QPoint pictureCentre(TSideBar &bar, const TSideBarItem &item);
// A point in the gap above an item.
QPoint gapAbove(TSideBar &bar, const TSideBarItem &item);
