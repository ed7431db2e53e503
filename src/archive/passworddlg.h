#pragma once

#include "platform/form.h"

#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// The archive component's password request: a prompt, a masked edit and up
// to four glyph buttons, built in code.
class TPasswordDlg : public platform::Form {
    Q_OBJECT
public:
    enum Button { pbOk = 1, pbCancel = 2, pbCancelAll = 4, pbAbort = 8 };
    Q_DECLARE_FLAGS(Buttons, Button)
    enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrCancelAll = 9 };

    // captions: the texts of OK, Cancel, Cancel All and Abort; empty ones
    // leave the glyph alone.
    TPasswordDlg(Buttons buttons, const QString &caption, const QString &prompt, const QStringList &captions);

    // Shows the dialog modally; the modal result of the button that closed
    // it, Cancel for the close box.
    int Execute();
    QString password() const;

    QLabel *promptLabel() const { return prompt_; }
    QLineEdit *edit() const { return edit_; }
    QPushButton *button(Button which) const;

protected:
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override;

private:
    void finish(int modalResult);

    QLabel *prompt_;
    QLineEdit *edit_;
    QPushButton *buttons_[4] = {};
    int modalResult_ = mrNone;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TPasswordDlg::Buttons)
