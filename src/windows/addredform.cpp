#include "windows/addredform.h"

#include "controls/flat/flatspeedbutton.h"
#include "platform/keypress.h"
#include "platform/messagebox.h"
#include "windows/bevelpanel.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/forms.h"
#include "windows/knigaform.h"

#include <QLineEdit>

using windows::LabelDecl;
using windows::Look;

namespace {

const QSize clientSize{409, 213};
const QRect panel1Rect{8, 8, 393, 153};

// The record's fields with their labels and edits, in tab order.
struct FieldRow {
    const char *field;
    LabelDecl label;
    QRect edit;
};
const std::array<FieldRow, 4> rows{{
    {"FIO", {{16, 24}, QStringLiteral("Ф.И.О.:"), Look::Bold}, {80, 16, 289, 21}},
    {"ADR", {{16, 56}, QStringLiteral("Адрес:"), Look::Bold}, {80, 48, 289, 21}},
    {"TEL", {{16, 88}, QStringLiteral("Телефон:"), Look::Bold}, {80, 80, 289, 21}},
    {"MAIL", {{16, 120}, QStringLiteral("e-mail:"), Look::Bold}, {80, 112, 289, 21}},
}};

const QRect okRect{192, 176, 97, 25};
const QRect closeRect{296, 176, 97, 25};

const QString missingName = QStringLiteral("Пожалуйста, введите Ф.И.О. абонента");
const QString errorCaption = QStringLiteral("Ошибка");

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
    if (AddRedForm == this)
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
    storeRecord(mode);
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
