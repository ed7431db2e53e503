#include "platform/form.h"

#include "platform/accessibility.h"
#include "platform/activation.h"
#include "platform/errorreport.h"
#include "platform/keyrouter.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

QPointer<Form> &mainFormRef()
{
    static QPointer<Form> form;
    return form;
}

// A window's frame is known only once the desktop has shown it; the frame
// of the program's window shown last is the one the next will get.
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

// A window reads as a frame named by its caption, the windows shown over
// the main one as dialogs.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(Form *form) : QAccessibleWidget(form) {}
    QAccessible::Role role() const override
    {
        return widget() == Form::mainForm() ? QAccessible::Window : QAccessible::Dialog;
    }
};

} // namespace

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window)
{
    KeyRouter::install();
    registerAccessible<Form>([](Form *form) -> QAccessibleInterface * { return new FormAccessible(form); });
}

Form::~Form()
{
    if (modalLoop_)
        modalLoop_->quit();
    ActivationTracker::instance().leave(this);
}

void Form::setMainForm(Form *form)
{
    mainFormRef() = form;
}

Form *Form::mainForm()
{
    return mainFormRef();
}

// Places the form, framed by `frame`, in the middle of the desktop's free
// area; a form larger than the desktop keeps its title bar on it. The client
// area is placed, as move() would take a frame it does not know yet for none.
void Form::centreOnDesktop(const QMargins &frame)
{
    const QScreen *desktop = desktopScreen();
    if (!desktop)
        return;
    const QRect area = desktop->availableGeometry();
    const QPoint centred = area.center() - QRect(QPoint(), size().grownBy(frame)).center();
    const QPoint frameTopLeft(std::max(centred.x(), area.left()), std::max(centred.y(), area.top()));
    setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), size()));
}

void Form::ShowModal()
{
    // A form already on the screen cannot become modal.
    if (isVisible())
        return;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    raise();
    activateWindow();
    QPointer<Form> self(this);
    becomeActive();
    if (self && isVisible())
        loop.exec();
    if (!self)
        return;
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
    ActivationTracker::instance().leave(this);
}

void Form::becomeActive()
{
    ActivationTracker::instance().enter(this, [this] { runGuarded([this] { FormActivate(); }); });
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    windowHandle()->installEventFilter(this); // for frameShown
    // Centred before the desktop maps it, by the frame it is expected to get.
    if (modalLoop_ || position_ == poDesktopCenter) {
        centreOnDesktop(desktopFrame());
        centring_ = true;
    }
    // A modeless show activates once the event loop runs, not in the middle
    // of showing; a modal show activates in ShowModal.
    if (!modalLoop_)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible())
                    becomeActive();
            },
            Qt::QueuedConnection);
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous()) // minimised: the form is still the active one
        return;
    centring_ = false;
    if (modalLoop_)
        modalLoop_->quit();
    else
        ActivationTracker::instance().leave(this);
}

void Form::closeEvent(QCloseEvent *event)
{
    CloseAction action = caHide;
    if (!runGuarded([&] { FormClose(action); }) || action == caNone) {
        event->ignore();
        return;
    }
    if (action == caMinimize) {
        event->ignore();
        showMinimized();
        return;
    }
    event->accept();
    if (this == mainForm())
        QCoreApplication::quit();
    else if (action == caFree)
        deleteLater();
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed())
        frameShown();
    return QWidget::eventFilter(watched, event);
}

// The desktop has shown the form: its frame is the one to expect for the
// next window, and a form centred by another frame is centred again.
void Form::frameShown()
{
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) // not framed yet, or never framed at all
        return;
    const bool expected = frame == desktopFrame();
    desktopFrame() = frame;
    if (std::exchange(centring_, false) && !expected)
        centreOnDesktop(frame);
}

bool Form::previewKey(QKeyEvent &event)
{
    int key = event.key();
    if (KeyPreview && !runGuarded([&] { FormKeyDown(key, event.modifiers()); }))
        return true;
    if (key == 0)
        return true;
    // Alt+F4 arriving as a key is the desktop's close command.
    if (key == Qt::Key_F4 && event.modifiers().testFlag(Qt::AltModifier)) {
        close();
        return true;
    }
    return false;
}

} // namespace platform
