#pragma once

class QAccessibleInterface;
class TDBComboBoxEx;

// A combo box whose value is the edit's text and whose children are the
// list's items, readable while the list is closed; the chosen one is selected.
QAccessibleInterface *createComboAccessible(TDBComboBoxEx *combo);
