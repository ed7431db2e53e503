#include "windows/kodform.h"

#include "controls/combo/dbcomboboxex.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/keypress.h"
#include "platform/messagebox.h"
#include "platform/uppercaseedit.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/declaredgrid.h"
#include "windows/forms.h"
#include "windows/groupbox.h"

#include <QLineEdit>

using windows::LabelDecl;
using windows::Look;

namespace {

const QString caption = QStringLiteral("Коды городов Беларуси");
const QSize clientSize{730, 474};

// Fields of "kod.db" with their display labels.
const QString oblLabel = QStringLiteral("Область");
const QString npLabel = QStringLiteral("Населенный пункт");
const QString kodLabel = QStringLiteral("Код");

const QStringList query1Sql{QStringLiteral("SELECT Obl, Np, Kod"), QStringLiteral("FROM \"kod.db\" Country"),
                            QStringLiteral("WHERE   (Obl Like :Name_param1)")};
const QStringList query2Sql{QStringLiteral("SELECT Obl, Np, Kod"), QStringLiteral("FROM \"kod.db\" Country"),
                            QStringLiteral("WHERE   (Np Like :Name_param1)")};
const QString param = QStringLiteral("Name_param1");

const QRect groupBox1Rect{8, 8, 305, 353};
const LabelDecl label1{{16, 24}, QStringLiteral("Выберите область:"), Look::Bold};
const QRect comboRect{16, 40, 169, 21};
const QStringList regions{QStringLiteral("БРЕСТСКАЯ"),   QStringLiteral("ВИТЕБСКАЯ"), QStringLiteral("ГОМЕЛЬСКАЯ"),
                          QStringLiteral("ГРОДНЕНСКАЯ"), QStringLiteral("МИНСКАЯ"),   QStringLiteral("МОГИЛЕВСКАЯ")};
const QRect showRect{200, 40, 89, 22};
const QRect grid1Rect{8, 72, 289, 249};
const QPoint navigator1Pos{8, 328};

const QRect groupBox2Rect{320, 8, 401, 353};
const LabelDecl label2{{16, 24}, QStringLiteral("Введите название населенного пункта"), Look::Bold};
const LabelDecl label3{{16, 40}, QStringLiteral("(полностью или несколько первых букв)")};
const QRect edit1Rect{16, 64, 161, 21};
const QRect searchRect{184, 64, 97, 22};
const QRect clearRect{288, 64, 97, 22};
const QRect grid2Rect{8, 96, 385, 225};
const QPoint navigator2Pos{8, 327};

const QRect groupBox3Rect{8, 368, 713, 97};
const LabelDecl label4{{16, 24},
                       QStringLiteral("При выходе к абонентам Республики Беларусь из других государств цифра \"0\" "
                                      "перед кодом города не набирается!")};
const LabelDecl label6{{16, 40}, QStringLiteral("Пример: "), Look::Bold};
const LabelDecl label7{
    {32, 56}, QStringLiteral("порядок набора города Минска из Беларуси: 8 - 017 xxxxxxx "), Look::RedBold};
const LabelDecl label8{
    {32, 72}, QStringLiteral("порядок набора города Минска из других государств: +375 17 xxxxxxx "), Look::RedBold};

const QString notFound = QStringLiteral("По Вашему запросу не найдено ни одной записи.\rПовторите поиск!");
const QString notFoundCaption = QStringLiteral("Внимание!");

struct FieldDecl {
    QString name;
    QString label;
    int size; // characters, the default display width
};
const FieldDecl oblField{QStringLiteral("Obl"), oblLabel, 15};
const FieldDecl npField{QStringLiteral("Np"), npLabel, 20};
const FieldDecl kodField{QStringLiteral("Kod"), kodLabel, 20};

// Declared with their widths, the columns have their titles and widths from
// the first showing, before any search has opened the query.
void declareFields(data::Query &query, std::initializer_list<FieldDecl> fields)
{
    for (const FieldDecl &decl : fields) {
        data::Field &field = query.addField(decl.name);
        field.setDisplayLabel(decl.label);
        field.setDisplayWidth(decl.size);
    }
}

// Both result grids: highlighted row, multi-line titles, an active summary
// list without a footer row.
grid::TDBGridEx *makeCodesGrid(QWidget *parent, const QRect &geometry, data::DataSource *source,
                               std::initializer_list<windows::ColumnDecl> columns)
{
    using namespace grid;
    TDBGridEx *result = windows::makeResultGrid(parent, geometry, source);
    result->beginLoading();
    result->setOptionsEx({dgxFixed3D, dgxHighlightFocus, dgxClearSelection, dgxRowHighlight});
    result->setUseMultiTitle(true);
    result->sumList().setActive(true);
    result->setFooterColor(platform::colors::clMenu);
    result->setFooterFontColor(platform::colors::clRed);
    result->setAutoFitColWidths(false);
    windows::addColumns(*result, columns);
    result->loaded();
    return result;
}

// A user who stays in the search field hears how many were found.
void announceFound(QWidget *grid, const data::Query &query)
{
    platform::announce(grid, QStringLiteral("Найдено населенных пунктов: %1").arg(query.recordCount()));
}

} // namespace

TKodForm::TKodForm(QWidget *parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("KodForm"));
    windows::setDialogBorder(*this, caption, clientSize);
    Query1.setSql(query1Sql);
    declareFields(Query1, {npField, kodField});
    Query2.setSql(query2Sql);
    declareFields(Query2, {oblField, npField, kodField});
    createRegionSearch();
    createLocalitySearch();
    createNote();
}

TKodForm::~TKodForm()
{
    windows::deleteControls(*this);
    if (KodForm.existing() == this)
        KodForm = nullptr;
}

void TKodForm::createRegionSearch()
{
    GroupBox1 = new windows::GroupBox(this, groupBox1Rect, QStringLiteral(" Поиск по области "));
    Label1 = windows::makeLabel(GroupBox1, label1);
    DBComboBoxEx1 = new TDBComboBoxEx(GroupBox1);
    DBComboBoxEx1->setGeometry(comboRect);
    DBComboBoxEx1->setCharCase(TDBComboBoxEx::ecUpperCase);
    DBComboBoxEx1->setItems(regions);
    windows::labelFor(Label1, DBComboBoxEx1);
    FlatSpeedButton1 = windows::makeFlatButton(GroupBox1, showRect, QStringLiteral("Показать"));
    windows::setClickHandler(FlatSpeedButton1, [this] { FlatSpeedButton1Click(); });
    DBGridEx1 = makeCodesGrid(GroupBox1, grid1Rect, &DataSource1, {{QStringLiteral("Np")}, {QStringLiteral("Kod")}});
    DBNavigator1 = windows::makeNavigator(GroupBox1, navigator1Pos, &DataSource1);
    setTabOrder(DBComboBoxEx1, DBNavigator1);
    setTabOrder(DBNavigator1, DBGridEx1);
}

void TKodForm::createLocalitySearch()
{
    GroupBox2 = new windows::GroupBox(this, groupBox2Rect, QStringLiteral(" Поиск по населенному пункту "));
    Label2 = windows::makeLabel(GroupBox2, label2);
    Label3 = windows::makeLabel(GroupBox2, label3);
    Edit1 = platform::makeUpperCaseEdit(GroupBox2, edit1Rect);
    windows::labelFor(Label2, Edit1);
    Edit1->setAccessibleDescription(Label3->text());
    platform::setKeyPressHandler(Edit1, [this](QChar &key) { Edit1KeyPress(key); });
    FlatSpeedButton2 = windows::makeFlatButton(GroupBox2, searchRect, QStringLiteral("Искать"));
    FlatSpeedButton3 = windows::makeFlatButton(GroupBox2, clearRect, QStringLiteral("Очистить"));
    windows::setClickHandler(FlatSpeedButton2, [this] { FlatSpeedButton2Click(); });
    windows::setClickHandler(FlatSpeedButton3, [this] { FlatSpeedButton3Click(); });
    DBGridEx2 = makeCodesGrid(GroupBox2, grid2Rect, &DataSource2,
                              {{QStringLiteral("Obl")}, {QStringLiteral("Np")}, {QStringLiteral("Kod")}});
    DBNavigator2 = windows::makeNavigator(GroupBox2, navigator2Pos, &DataSource2);
    setTabOrder(DBGridEx1, Edit1);
    setTabOrder(Edit1, DBGridEx2);
    setTabOrder(DBGridEx2, DBNavigator2);
}

void TKodForm::createNote()
{
    GroupBox3 = new windows::GroupBox(this, groupBox3Rect, QStringLiteral(" Внимание! "));
    Label4 = windows::makeLabel(GroupBox3, label4);
    Label6 = windows::makeLabel(GroupBox3, label6);
    Label7 = windows::makeLabel(GroupBox3, label7);
    Label8 = windows::makeLabel(GroupBox3, label8);
}

void TKodForm::FormActivate()
{
    Query1.close();
    Query2.close();
    Edit1->clear();
    DBComboBoxEx1->setItemIndex(-1);
    DBComboBoxEx1->setFocus();
}

void TKodForm::FlatSpeedButton1Click()
{
    Query1.close();
    if (!Query1.prepared())
        Query1.prepare();
    Query1.setParamByName(param, DBComboBoxEx1->text());
    Query1.open();
    announceFound(DBGridEx1, Query1);
}

void TKodForm::FlatSpeedButton2Click()
{
    Query2.close();
    if (!Query2.prepared())
        Query2.prepare();
    Query2.setParamByName(param, Edit1->text() + u'%');
    Query2.open();
    if (!Query2.fieldByName(QStringLiteral("Np")).isNull())
        announceFound(DBGridEx2, Query2);
    else if (platform::messageBox(notFound, notFoundCaption, platform::mbExclamationOk) == platform::idOk)
        FlatSpeedButton3->Click();
}

void TKodForm::FlatSpeedButton3Click()
{
    Query2.close();
    Edit1->clear();
    Edit1->setFocus();
}

void TKodForm::Edit1KeyPress(QChar &key)
{
    if (key == QChar(13))
        FlatSpeedButton2->Click();
}
