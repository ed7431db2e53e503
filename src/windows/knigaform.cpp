#include "windows/knigaform.h"

#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"
#include "platform/colors.h"
#include "platform/errorreport.h"
#include "platform/lonekeyshortcut.h"
#include "platform/messagebox.h"
#include "windows/addredform.h"
#include "windows/bevelpanel.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/declaredgrid.h"
#include "windows/forms.h"
#include "windows/pictures.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <utility>

using windows::LabelDecl;
using windows::Look;

namespace {

const QString caption = QStringLiteral("Личная телефонная книга");
const QSize clientSize{690, 386};
const QString bookFile = QStringLiteral("basamy.db");

const QRect panel1Rect{8, 8, 673, 57};
struct PictureButton {
    QRect geometry;
    const char *picture;
    QString hint;
};
const PictureButton pictureButtons[] = {
    {{8, 8, 41, 41}, "book-add.svg", QStringLiteral("Добавить новую запись")},
    {{56, 8, 41, 41}, "book-delete.svg", QStringLiteral("Удалить запись")},
    {{104, 8, 41, 41}, "book-edit.svg", QStringLiteral("Редактировать запись")},
    {{152, 8, 41, 41}, "book-delete-all.svg", QStringLiteral("Удалить все записи")},
};
const LabelDecl label1{{208, 8}, QStringLiteral("Быстрый поиск по Ф.И.О.:"), Look::Bold, {161, 13}};
const QRect edit1Rect{208, 24, 241, 21};
const QRect clearRect{464, 24, 97, 22};

const QRect panel2Rect{8, 72, 673, 305};
const QRect gridRect{8, 8, 649, 265};
const QPoint navigatorPos{8, 279};

// The table's fields: size in the file, display width and label.
struct FieldDecl {
    const char *name;
    int displayWidth;
    QString label;
};
const FieldDecl fields[] = {
    {"FIO", 50, QStringLiteral("Фамилия, Имя, Отчество")},
    {"ADR", 70, QStringLiteral("Адрес")},
    {"TEL", 25, QStringLiteral("Телефон")},
    {"MAIL", 50, {}},
};

const QString deleteQuestion = QStringLiteral("Вы действительно хотите удалить эту запись?");
const QString deleteAllQuestion = QStringLiteral("Вы действительно хотите удалить все записи?");
const QString confirmCaption = QStringLiteral("Подтверждение");
const QString bookBusy = QStringLiteral("Личная телефонная книжка сейчас недоступна. Закройте это окно и "
                                        "откройте его снова, когда книжка освободится.");

bool confirmed(const QString &question)
{
    return platform::messageBox(question, confirmCaption, platform::mbQuestionYesNo) == platform::idYes;
}

// Said once: the next open finds the book in the program's own format.
void tellParadoxMove(const data::ParadoxMove &move)
{
    QStringList kept{move.keptAs};
    kept += move.keptSideFiles;
    platform::messageBox(QStringLiteral("Телефонная книга «%1» была таблицей Paradox. Все её записи (%2) "
                                        "перенесены в книгу программы, с которой она теперь работает.\r"
                                        "Прежний файл сохранён без изменений в рабочей папке: «%3».")
                             .arg(bookFile)
                             .arg(move.records)
                             .arg(kept.join(QStringLiteral("», «"))),
                         QStringLiteral("Внимание!"), platform::mbIconInformation | platform::mbOk);
}

} // namespace

TKnigaForm::TKnigaForm(QWidget *parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("KnigaForm"));
    windows::setDialogBorder(*this, caption, clientSize);
    for (const FieldDecl &decl : fields) {
        data::Field &field = Table1.addField(QString::fromLatin1(decl.name));
        field.setDisplayWidth(decl.displayWidth);
        field.setDisplayLabel(decl.label);
    }

    Panel1 = new windows::BevelPanel(this, panel1Rect);
    TFlatSpeedButton *buttons[4];
    for (int i = 0; i < 4; ++i) {
        const PictureButton &decl = pictureButtons[i];
        buttons[i] = windows::makeFlatButton(Panel1, decl.geometry, {}, decl.hint);
        buttons[i]->setGlyph(windows::picture(QString::fromLatin1(decl.picture)));
    }
    std::tie(FlatSpeedButton1, FlatSpeedButton2, FlatSpeedButton3, FlatSpeedButton4) =
        std::tuple(buttons[0], buttons[1], buttons[2], buttons[3]);
    windows::setClickHandler(FlatSpeedButton1, [this] { FlatSpeedButton1Click(); });
    windows::setClickHandler(FlatSpeedButton2, [this] { FlatSpeedButton2Click(); });
    windows::setClickHandler(FlatSpeedButton3, [this] { FlatSpeedButton3Click(); });
    windows::setClickHandler(FlatSpeedButton4, [this] { FlatSpeedButton4Click(); });

    Label1 = windows::makeLabel(Panel1, label1);
    Edit1 = windows::makeEdit(Panel1, edit1Rect);
    windows::labelFor(Label1, Edit1);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { platform::runGuarded([this] { Edit1Change(); }); });
    FlatSpeedButton5 =
        windows::makeFlatButton(Panel1, clearRect, QStringLiteral("Очистить"), QStringLiteral("Очистить поле поиска"));
    windows::setClickHandler(FlatSpeedButton5, [this] { FlatSpeedButton5Click(); });

    Panel2 = new windows::BevelPanel(this, panel2Rect);
    createGrid();
    DBNavigator1 = windows::makeNavigator(Panel2, navigatorPos, &DataSource1);
    createPopupMenu();
    setTabOrder(Edit1, DBGridEx1);
    setTabOrder(DBGridEx1, DBNavigator1);
}

TKnigaForm::~TKnigaForm()
{
    windows::deleteControls(*this);
    if (KnigaForm.existing() == this)
        KnigaForm = nullptr;
}

void TKnigaForm::createGrid()
{
    DBGridEx1 = windows::makeResultGrid(Panel2, gridRect, &DataSource1);
    DBGridEx1->beginLoading();
    DBGridEx1->setAutoFitColWidths(true);
    DBGridEx1->sumList().setActive(false);
    DBGridEx1->setUseMultiTitle(false);
    DBGridEx1->setFooterColor(platform::colors::clWindow);
    windows::addColumns(*DBGridEx1,
                        {{QStringLiteral("FIO"), 213},
                         {QStringLiteral("ADR"), 172},
                         {QStringLiteral("TEL"), 76},
                         {QStringLiteral("MAIL"), 151, QStringLiteral("e-mail")}},
                        grid::taCenter);
    DBGridEx1->loaded();
}

// The menu's short-cuts act while the grid has the focus; its items are
// always enabled, so they reach the buttons' handlers even when disabled.
void TKnigaForm::createPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    auto addItem = [this](const QString &text, const QKeySequence &shortcut, void (TKnigaForm::*handler)()) {
        QAction *action = PopupMenu1->addAction(text);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        DBGridEx1->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, handler] { platform::runGuarded([this, handler] { (this->*handler)(); }); });
        return action;
    };
    gfhfg1 = addItem(QStringLiteral("Добавить запись"), QKeySequence(Qt::Key_Insert), &TKnigaForm::gfhfg1Click);
    fghfgh1 = addItem(QStringLiteral("Удалить запись"), QKeySequence(Qt::Key_Delete), &TKnigaForm::fghfgh1Click);
    N1 =
        addItem(QStringLiteral("Редактировать запись"), QKeySequence(Qt::SHIFT | Qt::Key_Insert), &TKnigaForm::N1Click);
    // Insert is also a screen reader's modifier key.
    for (QAction *insertKey : {gfhfg1, N1})
        platform::runOnLoneRelease(insertKey, DBGridEx1);
    N2 = PopupMenu1->addSeparator();
    N3 = addItem(QStringLiteral("Удалить все записи"), QKeySequence(Qt::SHIFT | Qt::Key_Delete), &TKnigaForm::N3Click);
    DBGridEx1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGridEx1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(DBGridEx1->mapToGlobal(pos)); });
}

void TKnigaForm::setRecordButtonsEnabled(bool enabled)
{
    for (TFlatSpeedButton *button : {FlatSpeedButton2, FlatSpeedButton3, FlatSpeedButton4})
        button->setEnabled(enabled);
}

// A book that exists but cannot be opened (another program holds it) is
// said to be busy, and nothing that needs it stays enabled until the next
// showing tries again. A missing book is the engine's report, as ever.
bool TKnigaForm::openBook()
{
    try {
        Table1.open();
    } catch (const data::EDatabaseError &error) {
        if (!QFileInfo::exists(bookFile))
            throw;
        FlatSpeedButton1->setEnabled(false);
        setRecordButtonsEnabled(false);
        clearSearch();
        sayBookIsBusy(error.message());
        return false;
    }
    // Back from busy: what the busy book disabled comes back.
    if (!FlatSpeedButton1->isEnabled()) {
        FlatSpeedButton1->setEnabled(true);
        setRecordButtonsEnabled(true);
    }
    return true;
}

// The menu's short-cuts reach the handlers while their buttons are disabled.
bool TKnigaForm::bookAvailable()
{
    if (Table1.active())
        return true;
    sayBookIsBusy({});
    return false;
}

// `reason` is the engine's word on why the book did not open.
void TKnigaForm::sayBookIsBusy(const QString &reason)
{
    const QString text = reason.isEmpty() ? bookBusy : reason + QStringLiteral(".\r") + bookBusy;
    platform::messageBox(text, QStringLiteral("Внимание!"), platform::mbExclamationOk);
}

void TKnigaForm::returnToCurrentRecord()
{
    returnTo_ = Table1.recNo();
}

void TKnigaForm::FormActivate()
{
    const int returnTo = std::exchange(returnTo_, 0);
    Table1.close();
    Table1.setTableName(bookFile);
    if (!openBook())
        return;
    if (const auto &move = Table1.paradoxMove())
        tellParadoxMove(*move);
    if (returnTo > 0)
        Table1.setRecNo(returnTo);
    clearSearch();
    Edit1->setFocus();
    if (Table1.isEmpty())
        setRecordButtonsEnabled(false);
}

void TKnigaForm::Edit1Change()
{
    if (!Edit1->isModified())
        return;
    Table1.locate(QStringLiteral("FIO"), Edit1->text(), data::loPartialKey | data::loCaseInsensitive);
    DBGridEx1->SelectColumnByIndex(Table1.fieldDefIndex(QStringLiteral("FIO")));
}

void TKnigaForm::showEditor(int mode, const QString &caption)
{
    AddRedForm->Panel1->Tag = mode;
    AddRedForm->setWindowTitle(caption);
    AddRedForm->ShowModal();
}

void TKnigaForm::FlatSpeedButton1Click()
{
    if (!bookAvailable())
        return;
    showEditor(TAddRedForm::AddMode, QStringLiteral("Добавление новой записи"));
}

void TKnigaForm::FlatSpeedButton3Click()
{
    if (!bookAvailable())
        return;
    showEditor(TAddRedForm::EditMode, QStringLiteral("Редактирование записи"));
}

void TKnigaForm::FlatSpeedButton2Click()
{
    if (!bookAvailable())
        return;
    if (!confirmed(deleteQuestion))
        return;
    Table1.deleteRecord();
    if (Table1.isEmpty())
        setRecordButtonsEnabled(false);
}

void TKnigaForm::FlatSpeedButton4Click()
{
    if (!bookAvailable())
        return;
    if (!confirmed(deleteAllQuestion))
        return;
    Table1.close();
    // Whether emptying works or not, the book is shown again as it now is.
    try {
        Table1.emptyTable();
    } catch (...) {
        Table1.open();
        throw;
    }
    Table1.open();
    setRecordButtonsEnabled(false);
}

void TKnigaForm::FlatSpeedButton5Click()
{
    clearSearch();
}

// Unlike clear(), setting the text marks it as not typed, so no search runs.
void TKnigaForm::clearSearch()
{
    Edit1->setText(QString());
}

void TKnigaForm::gfhfg1Click()
{
    FlatSpeedButton1->Click();
}

void TKnigaForm::fghfgh1Click()
{
    FlatSpeedButton2->Click();
}

void TKnigaForm::N1Click()
{
    FlatSpeedButton3->Click();
}

void TKnigaForm::N3Click()
{
    FlatSpeedButton4->Click();
}
