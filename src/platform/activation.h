#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace platform {

// The program's own notion of its active window. Forms, the plain message
// window and the password dialog enter it when they show and leave it when
// they close; whenever the window on top changes, that window's activation
// runs. Platform message boxes and switching to other programs never touch
// it, so they never re-run a form's activation.
class ActivationTracker {
public:
    static ActivationTracker &instance();

    // `window` becomes the active window; onActivate runs if it was not.
    void enter(QWidget *window, std::function<void()> onActivate = {});
    // `window` closes; the window under it becomes active again.
    void leave(QWidget *window);
    QWidget *current() const;

private:
    struct Entry {
        QPointer<QWidget> window;
        std::function<void()> onActivate;
    };
    void dropClosed();
    void activateTopIfChanged(QWidget *previous);

    std::vector<Entry> stack_;
};

// Keeps a dialog of the program's own (not a platform box) in the tracker
// while it is shown, so the form under it is re-activated when it closes.
class OwnWindowScope {
public:
    explicit OwnWindowScope(QWidget *window) : window_(window) { ActivationTracker::instance().enter(window); }
    ~OwnWindowScope() { ActivationTracker::instance().leave(window_); }
    OwnWindowScope(const OwnWindowScope &) = delete;
    OwnWindowScope &operator=(const OwnWindowScope &) = delete;

private:
    QWidget *window_;
};

} // namespace platform
