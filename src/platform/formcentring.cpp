#include "platform/formcentring.h"

#include "platform/form.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace platform {

namespace {

// The frame of the program's window shown last: the one the next will get.
QMargins &desktopFrame()
{
    static QMargins frame;
    return frame;
}

// The screen that holds the pointer, else the main window's.
QScreen *desktopScreen()
{
    if (QScreen *pointer = QGuiApplication::screenAt(QCursor::pos()))
        return pointer;
    if (const Form *main = Form::mainForm(); main && main->screen())
        return main->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace

QRect centredInArea(const QRect &area, QSize size, const QMargins &frame)
{
    const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(0, 0));
    const QSize client = size.boundedTo(room);
    const QPoint frameTopLeft = area.center() - QRect(QPoint(), client.grownBy(frame)).center();
    return {frameTopLeft + QPoint(frame.left(), frame.top()), client};
}

FrameCentring::FrameCentring(QWidget &window) : QObject(&window), window_(window) {}

void FrameCentring::windowShown(bool centre)
{
    window_.windowHandle()->installEventFilter(this);
    if (!centre)
        return;
    // Centred before the desktop maps it, by the frame it is expected to get.
    place(desktopFrame());
    pending_ = true;
}

// Places the window, framed by `frame`, in the middle of the desktop's free
// area. The client area is placed, as move() would take a frame it does not
// know yet for none.
void FrameCentring::place(const QMargins &frame)
{
    const QScreen *desktop = desktopScreen();
    if (!desktop)
        return;
    const QSize wanted = designed_.isValid() ? designed_ : window_.size();
    const QRect placed = centredInArea(desktop->availableGeometry(), wanted, frame);
    designed_ = placed.size() == wanted ? QSize() : wanted;
    if (window_.minimumSize() == window_.maximumSize()) // a dialog's fixed size
        window_.setFixedSize(placed.size());
    window_.setGeometry(placed);
}

bool FrameCentring::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && watched == window_.windowHandle() && window_.windowHandle()->isExposed())
        frameShown();
    return false;
}

// The desktop has shown the window: its frame is the one to expect for the
// next, and a window centred by another frame is centred again.
void FrameCentring::frameShown()
{
    const QMargins frame = window_.windowHandle()->frameMargins();
    if (frame.isNull()) // not framed yet, or never framed at all
        return;
    const bool expected = frame == desktopFrame();
    desktopFrame() = frame;
    if (std::exchange(pending_, false) && !expected)
        place(frame);
}

} // namespace platform
