#include "platform/form.h"

#include "platform/accessibility.h"
#include "platform/activation.h"
#include "platform/errorreport.h"
#include "platform/formcentring.h"
#include "platform/keyrouter.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

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
    : QWidget(parent, Qt::Window), centring_(new FrameCentring(*this)), activation_(*this, [this] { FormActivate(); }),
      modal_(*this)
{
    KeyRouter::install();
    registerAccessible<Form>([](Form *form) -> QAccessibleInterface * { return new FormAccessible(form); });
}

Form::~Form() = default;

void Form::setMainForm(Form *form)
{
    mainFormRef() = form;
}

Form *Form::mainForm()
{
    return mainFormRef();
}

void Form::ShowModal()
{
    // A form already on the screen cannot become modal.
    if (isVisible())
        return;
    if (modal_.run(ActivationTracker::instance().current(), [this] { activation_.enter(); }))
        activation_.leave();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    centring_->windowShown(modal_.isRunning() || position_ == poDesktopCenter);
    // A modal show activates in ShowModal.
    if (!modal_.isRunning())
        activation_.enterLater();
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous()) // minimised: the form is still the active one
        return;
    centring_->windowHidden();
    if (modal_.isRunning())
        modal_.end();
    else
        activation_.leave();
}

void Form::closeEvent(QCloseEvent *event)
{
    // A window manager turns Alt+F4 into a close request: one that comes
    // while Alt is held takes the key's road, so a preview that swallows the
    // key also keeps the window.
    if (QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier)) {
        if (previewSwallows(Qt::Key_F4, Qt::AltModifier)) {
            event->ignore();
            return;
        }
    }
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

void Form::keyPressEvent(QKeyEvent *event)
{
    if (closesOnEscape_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Form::previewSwallows(int key, Qt::KeyboardModifiers shift)
{
    if (!KeyPreview)
        return false;
    return !runGuarded([&] { FormKeyDown(key, shift); }) || key == 0;
}

bool Form::previewKey(QKeyEvent &event)
{
    if (previewSwallows(event.key(), event.modifiers()))
        return true;
    // Alt+F4 arriving as a key is the desktop's close command.
    if (event.key() == Qt::Key_F4 && event.modifiers().testFlag(Qt::AltModifier)) {
        close();
        return true;
    }
    return false;
}

} // namespace platform
