#include "platform/uppercaseedit.h"

#include <QValidator>

namespace platform {

namespace {

// A validator may rewrite what it checks; that is the one place every way
// of entering text (typing, pasting, dropping) passes through.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

QLineEdit *makeUpperCaseEdit(QWidget *parent, const QRect &geometry)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setMaxLength(32767);
    edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

} // namespace platform
