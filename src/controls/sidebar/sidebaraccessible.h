#pragma once

class QAccessibleInterface;
class TSideBar;

// The side bar as a tool bar: the shown group headers, then the items laid
// out under the active one, each a push button named by its caption whose
// press action clicks it as the mouse does.
QAccessibleInterface *createSideBarAccessible(TSideBar *bar);
