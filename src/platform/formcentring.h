#pragma once

#include <QMargins>
#include <QObject>

class QWidget;

namespace platform {

// Centres a top-level window in the middle of the desktop's free area by its
// frame. A frame is known only once the desktop has shown the window, so the
// frame of the program's window shown last stands in for it, and a window
// the desktop frames otherwise is centred again when first exposed.
class FrameCentring : public QObject {
public:
    explicit FrameCentring(QWidget &window);

    // At every show: learns the frame from it; `centre` places the window.
    void windowShown(bool centre);
    void windowHidden() { pending_ = false; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place(const QMargins &frame);
    void frameShown();

    QWidget &window_;
    bool pending_ = false; // centred, and the desktop has not framed it yet
};

} // namespace platform
