#include "form.h"

#include "accessibility.h"
#include "activation.h"
#include "errorreport.h"
#include "keyrouter.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>

namespace platform {

namespace {

QPointer<Form> &mainFormRef()
{
    static QPointer<Form> form;
    return form;
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

Form::Form(QWidget *parent)
    : QWidget(parent, Qt::Window)
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

void Form::centreOnDesktop()
{
    QScreen *desktop = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!desktop)
        return;
    const QSize outer = frameGeometry().size();
    move(desktop->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void Form::ShowModal()
{
    // A form already on the screen cannot become modal.
    if (isVisible())
        return;
    centreOnDesktop();
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
    // A modeless show activates once the event loop runs, not in the middle
    // of showing; a modal show activates in ShowModal.
    if (!event->spontaneous() && !modalLoop_)
        QMetaObject::invokeMethod(this, [this] { if (isVisible()) becomeActive(); }, Qt::QueuedConnection);
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())   // minimised: the form is still the active one
        return;
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
