#pragma once

#include <functional>

class QWidget;

namespace platform {

// A window's place in the program's notion of its active window: entering
// it runs the window's activation handler, guarded, when the window was not
// the active one already.
class FormActivation {
public:
    FormActivation(QWidget &window, std::function<void()> onActivate);
    ~FormActivation() { leave(); }
    FormActivation(const FormActivation &) = delete;
    FormActivation &operator=(const FormActivation &) = delete;

    void enter();
    // Enters once the event loop runs, if the window is still shown then:
    // a modeless show activates after showing, not in the middle of it.
    void enterLater();
    void leave();

private:
    QWidget &window_;
    std::function<void()> onActivate_;
};

} // namespace platform
