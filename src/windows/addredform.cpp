#include "windows/addredform.h"

#include "controls/flat/flatspeedbutton.h"
#include "data/telephone.h"
#include "platform/keypress.h"
#include "platform/messagebox.h"
#include "windows/bevelpanel.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/forms.h"
#include "windows/knigaform.h"

#include <QLineEdit>
#include <optional>

using windows::LabelDecl;
using windows::Look;

namespace {

const QSize clientSize{409, 213};
const QRect panel1Rect{8, 8, 393, 153};

// The record's fields with their labels, edits and sizes in the table, in
// tab order.
struct FieldRow {
    const char *field;
    LabelDecl label;
    QRect edit;
    int size;
};
const std::array<FieldRow, 4> rows{{
    {"FIO", {{16, 24}, QStringLiteral("Ф.И.О.:"), Look::Bold}, {80, 16, 289, 21}, 30},
    {"ADR", {{16, 56}, QStringLiteral("Адрес:"), Look::Bold}, {80, 48, 289, 21}, 40},
    {"TEL", {{16, 88}, QStringLiteral("Телефон:"), Look::Bold}, {80, 80, 289, 21}, 15},
    {"MAIL", {{16, 120}, QStringLiteral("e-mail:"), Look::Bold}, {80, 112, 289, 21}, 50},
}};
constexpr std::size_t telRow = 2;

const QRect okRect{192, 176, 97, 25};
const QRect closeRect{296, 176, 97, 25};

const QString missingName = QStringLiteral("Пожалуйста, введите Ф.И.О. абонента");
const QString errorCaption = QStringLiteral("Ошибка");
const QString telephoneTooLong =
    QStringLiteral("Номер телефона не помещается в книжку: в нём %1 знаков без пробелов, дефисов и скобок, "
                   "а поле «Телефон» вмещает %2.");

// A number too long for its field loses its spaces, dashes, dots and
// brackets, as the data tool's import does; what still does not fit is
// refused rather than cut.
std::optional<QString> fittedTelephone(const QString &number, int size)
{
    if (number.size() <= size)
        return number;
    QString compact = data::withoutSeparators(number);
    if (compact.size() > size)
        return std::nullopt;
    return compact;
}

} // namespace

TAddRedForm::TAddRedForm(QWidget *parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("AddRedForm"));
    windows::setDialogBorder(*this, QString(), clientSize);
    Panel1 = new windows::BevelPanel(this, panel1Rect);
    std::array<QLabel *, 4> labels{};
    std::array<QLineEdit *, 4> created{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        labels[i] = windows::makeLabel(Panel1, rows[i].label);
        created[i] = windows::makeEdit(Panel1, rows[i].edit);
        windows::labelFor(labels[i], created[i]);
        // The limit shows while typing; the telephone's is checked at OK.
        if (i != telRow)
            created[i]->setMaxLength(rows[i].size);
        platform::setKeyPressHandler(created[i], [this](QChar &key) { Edit1KeyPress(key); });
        if (i > 0)
            setTabOrder(created[i - 1], created[i]);
    }
    std::tie(Label1, Label2, Label3, Label4) = std::tuple(labels[0], labels[1], labels[2], labels[3]);
    std::tie(Edit1, Edit2, Edit3, Edit4) = std::tuple(created[0], created[1], created[2], created[3]);

    FlatSpeedButton2 = windows::makeFlatButton(this, okRect, QStringLiteral("ОК"));
    FlatSpeedButton1 = windows::makeFlatButton(this, closeRect, QStringLiteral("Закрыть"));
    windows::setClickHandler(FlatSpeedButton2, [this] { FlatSpeedButton2Click(); });
    windows::setClickHandler(FlatSpeedButton1, [this] { FlatSpeedButton1Click(); });
}

TAddRedForm::~TAddRedForm()
{
    if (AddRedForm.existing() == this)
        AddRedForm = nullptr;
}

void TAddRedForm::FormActivate()
{
    if (Panel1->Tag == AddMode) {
        for (QLineEdit *edit : edits())
            edit->clear();
    } else if (Panel1->Tag == EditMode) {
        const data::Table &table = KnigaForm->Table1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            edits()[i]->setText(table.fieldByName(QString::fromLatin1(rows[i].field)).asString());
    } else {
        return;
    }
    Edit1->setFocus();
}

void TAddRedForm::FlatSpeedButton2Click()
{
    if (Edit1->text().isEmpty()) {
        if (platform::messageBox(missingName, errorCaption, platform::mbErrorOk) == platform::idOk) {
            Edit1->clear();
            Edit1->setFocus();
        }
        return;
    }
    const int mode = Panel1->Tag;
    if (mode != AddMode && mode != EditMode)
        return;
    const std::optional<QString> telephone = fittedTelephone(Edit3->text(), rows[telRow].size);
    if (!telephone) {
        platform::messageBox(telephoneTooLong.arg(data::withoutSeparators(Edit3->text()).size()).arg(rows[telRow].size),
                             errorCaption, platform::mbErrorOk);
        Edit3->setFocus();
        return;
    }
    Edit3->setText(*telephone);
    storeRecord(mode);
    KnigaForm->returnToCurrentRecord();
    if (mode == AddMode)
        KnigaForm->setRecordButtonsEnabled(true);
    close();
}

// A failed post leaves the table in browse state and the file untouched, and
// the editor keeps the texts, so OK can simply be tried again.
void TAddRedForm::storeRecord(int mode)
{
    data::Table &table = KnigaForm->Table1;
    try {
        if (mode == AddMode)
            table.append();
        else
            table.edit();
        for (std::size_t i = 0; i < rows.size(); ++i)
            table.fieldByName(QString::fromLatin1(rows[i].field)).setAsString(edits()[i]->text());
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}

void TAddRedForm::FlatSpeedButton1Click()
{
    close();
}

void TAddRedForm::Edit1KeyPress(QChar &key)
{
    if (key == QChar(13))
        FlatSpeedButton2->Click();
}
