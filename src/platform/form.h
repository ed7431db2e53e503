#pragma once

#include "platform/formactivation.h"
#include "platform/formmodality.h"

#include <QWidget>

namespace platform {

class FrameCentring;

// What a form does once its close is asked for; FormClose may change it.
enum CloseAction {
    caNone, // stay open
    caHide, // only hide; the form keeps its state
    caFree, // close for good: the main form ends the program, others are deleted
    caMinimize,
};

// A top-level window of the program. Each window derives from it and
// overrides the handlers it needs. Its size is the client area; the desktop
// adds the frame. Enter does not close a form; Escape does where the form
// asks for it.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // When true, FormKeyDown sees every key of the form before the focused
    // control does.
    bool KeyPreview = false;

    // Escape (reaching the form unused by its controls) closes it, as its
    // close box does.
    bool closesOnEscape() const { return closesOnEscape_; }
    void setClosesOnEscape(bool closes) { closesOnEscape_ = closes; }

    // Where a modeless show puts the form; ShowModal always centres it.
    enum Position { poDesigned, poDesktopCenter };
    Position position() const { return position_; }
    void setPosition(Position position) { position_ = position; }

    // Shows the form centred on the desktop and returns once it is closed.
    // The other windows take no input meanwhile; closing only hides the form.
    void ShowModal();
    bool isShowingModally() const { return modal_.isRunning(); }

    // The main form's close ends the program.
    static void setMainForm(Form *form);
    static Form *mainForm();

    // Runs each time the form becomes the program's active window: when it is
    // first shown and when a window of the program shown over it closes.
    virtual void FormActivate() {}
    // A close was asked for (the close box, Alt+F4, close()); `action` starts
    // as caHide.
    virtual void FormClose(CloseAction &action) { (void)action; }
    // With KeyPreview: a key of any control of the form. Setting `key` to 0
    // marks it handled; the control and the default processing never see it.
    virtual void FormKeyDown(int &key, Qt::KeyboardModifiers shift)
    {
        (void)key;
        (void)shift;
    }

    // The key router's step for this form: FormKeyDown with KeyPreview, then
    // Alt+F4. Returns whether the key was used up.
    bool previewKey(QKeyEvent &event);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // FormKeyDown with KeyPreview: whether it used the key up.
    bool previewSwallows(int key, Qt::KeyboardModifiers shift);

    Position position_ = poDesigned;
    bool closesOnEscape_ = false;
    FrameCentring *centring_;
    FormActivation activation_;
    ModalShowing modal_; // after activation_: a destroyed form ends its showing first
};

} // namespace platform
