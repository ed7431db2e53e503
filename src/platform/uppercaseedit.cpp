#include "platform/uppercaseedit.h"

#include "platform/accessibility.h"
#include "platform/lineeditaccessible.h"

#include <QKeyEvent>
#include <QValidator>

namespace platform {

namespace {

// Pasted and dropped text passes through the validator, which may rewrite
// it. A capital can be longer than its letter ("ß" gives "SS"), so the
// cursor moves to stay after the text it was after.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        pos = int(input.left(pos).toUpper().size());
        input = input.toUpper();
        return Acceptable;
    }
};

// A typed key is upper-cased before the edit inserts it, so the edit (and
// assistive technology with it) sees one insertion of the capital rather
// than the whole text replaced by the validator.
class UpperCaseEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const QString upper = event->text().toUpper();
        if (upper == event->text()) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        QKeyEvent retyped(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                          event->nativeVirtualKey(), event->nativeModifiers(), upper, event->isAutoRepeat(),
                          event->count());
        QLineEdit::keyPressEvent(&retyped);
        event->setAccepted(retyped.isAccepted());
    }
};

} // namespace

QLineEdit *makeUpperCaseEdit(QWidget *parent, const QRect &geometry)
{
    registerAccessible<UpperCaseEdit>(
        [](UpperCaseEdit *edit) -> QAccessibleInterface * { return createLineEditAccessible(edit); });
    auto *edit = new UpperCaseEdit(parent);
    edit->setGeometry(geometry);
    edit->setMaxLength(32767);
    edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

} // namespace platform

#include "uppercaseedit.moc"
