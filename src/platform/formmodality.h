#pragma once

#include <functional>

class QEventLoop;
class QWidget;

namespace platform {

// The modal showing of a window: while it runs the program's other windows
// take no input, and it ends once the window is hidden or destroyed.
class ModalShowing {
public:
    explicit ModalShowing(QWidget &window) : window_(window) {}
    ~ModalShowing() { end(); }
    ModalShowing(const ModalShowing &) = delete;
    ModalShowing &operator=(const ModalShowing &) = delete;

    bool isRunning() const { return loop_ != nullptr; }
    // Shows the window modally over `owner`, runs `shown`, then waits for
    // the end. Returns false when the window was destroyed meanwhile.
    bool run(QWidget *owner, const std::function<void()> &shown);
    void end();

private:
    QWidget &window_;
    QEventLoop *loop_ = nullptr;
};

} // namespace platform
