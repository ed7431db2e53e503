#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace platform {

// Where a window of client size `size`, framed by `frame`, goes in `area`:
// centred by its frame, its client area shrunk where the frame would not fit
// (a scaled desktop on a small screen).
QRect centredInArea(const QRect &area, QSize size, const QMargins &frame);

// Centres a top-level window in the middle of the desktop's free area by its
// frame. A frame is known only once the desktop has shown the window, so the
// frame of the program's window shown last stands in for it, and a window
// the desktop frames otherwise is centred again when first exposed. A window
// too large for the desktop's free area is shrunk into it, and gets its own
// size back at a later showing where that fits.
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
    QSize designed_;       // the size before a shrinking, while shrunk
    bool pending_ = false; // centred, and the desktop has not framed it yet
};

} // namespace platform
