#pragma once

class QAccessibleInterface;
class TFlatPanel;
class TFlatSpeedButton;

namespace flat {

// A push button named by its caption, or by its hint when it shows only a
// picture; its press action clicks it as the mouse does.
QAccessibleInterface *createButtonAccessible(TFlatSpeedButton *button);
// A pane named by its caption.
QAccessibleInterface *createPanelAccessible(TFlatPanel *panel);

} // namespace flat
