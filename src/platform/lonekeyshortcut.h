#pragma once

class QAction;
class QWidget;

namespace platform {

// Runs `action` when its short-cut's key goes up with no other key pressed
// meanwhile, instead of on the press. A screen reader holds Insert as the
// modifier of its own commands (Insert+Enter and the like); such a chord
// must not run an Insert short-cut. The short-cut acts while `control` has
// the focus, as a widget short-cut does.
void runOnLoneRelease(QAction *action, QWidget *control);

} // namespace platform
