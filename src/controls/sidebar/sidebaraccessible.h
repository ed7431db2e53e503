#pragma once

class QAccessibleInterface;
class TSideBar;

// The side bar as a tool bar: the shown group headers, then the items laid
// out under the active one, each a push button named by its caption whose
// press action clicks it as the mouse does.
QAccessibleInterface *createSideBarAccessible(TSideBar *bar);

// While assistive technology is active the bar takes Tab focus; Up, Down,
// Home and End move through its items, each spoken as it is reached, and
// Space or Enter click the one reached.
void reachSideBarItems(TSideBar *bar);
