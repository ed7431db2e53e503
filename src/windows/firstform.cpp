#include "windows/firstform.h"

#include "platform/errorreport.h"
#include "platform/fonts.h"
#include "windows/bevelpanel.h"
#include "windows/declaredcontrols.h"
#include "windows/forms.h"

#include <QListWidget>
#include <iterator>

using windows::LabelDecl;
using windows::Look;

namespace {

struct Service {
    const char *listText;
    const char *telephone;
    const char *department;
    const char *address;
};

const Service services[] = {
    {"Пожарная служба РОЧС (Районный отдел по чрезвычайным ситуациям)", "201", "Дежурная часть", "Ленина 89"},
    {"Милиция ОВД Верескинского РИК", "202", "Дежурная часть", "Ленина 35А"},
    {"Больница районная Верескинская", "203", "Отделение скорой медицинской помощи", "Островского 37"},
    {"Скорая помощь", "203", "-", "-"},
    {"\"Верескинрайгаз\"", "204", "Аварийная служба", "Дзержинского 100"},
    {"\"Верескинрайгаз\"", "205", "Операторы по приему заказов", "Дзержинского 100"},
    {"Связь РУЭС", "207", "Стол заказов междугорной телефонной сети", "пл.40 л. Октября 7"},
    {"Связь РУЭС", "208", "Бюро ремонта", "пл.40 л. Октября 7"},
    {"Связь РУЭС", "209", "Справочная", "пл.40 л. Октября 7"},
    {"Водоканал", "21677", "Дежурный", "Набережная"},
    {"Пожарная служба РОЧС (Районный отдел по чрезвычайным ситуациям) Пост г.п.Ладимирово", "24101", "Дежурный",
     "Ладимирово"},
    {"Больница районная Ладимировская", "24103", "Скорая медицинская помощь", "Ладимирово"},
};

const QString caption = QStringLiteral("Телефоны первой необходимости");
const QSize clientSize{609, 299};
const QRect panel2Rect{8, 8, 593, 281};
const QRect listBoxRect{8, 24, 577, 169};
const int itemHeight = 13;

const LabelDecl label7{
    {8, 8}, QStringLiteral("Щелкните на названии, чтобы узнать адрес или телефон:"), Look::RedBold, {347, 13}};
const LabelDecl label1{{16, 204}, QStringLiteral("Телефон:"), Look::Bold};
const LabelDecl label2{{80, 204}, {}, Look::RedBold};
const LabelDecl label3{{16, 228}, QStringLiteral("Отдел:"), Look::Bold};
const LabelDecl label4{{80, 228}, {}, Look::TealBold};
const LabelDecl label5{{16, 252}, QStringLiteral("Адрес:"), Look::Bold};
const LabelDecl label6{{80, 252}, {}, Look::TealBold};

// A value label grows with its text, as a label sized to its text does.
void setValue(QLabel *label, const char *text)
{
    label->setText(QString::fromUtf8(text));
    label->adjustSize();
}

// What the three labels show for an entry, for a screen reader to say with
// the entry itself.
QString detailsOf(const Service &service)
{
    return QStringLiteral("%1 %2. %3 %4. %5 %6.")
        .arg(label1.text, QString::fromUtf8(service.telephone), label3.text, QString::fromUtf8(service.department),
             label5.text, QString::fromUtf8(service.address));
}

} // namespace

TFirstForm::TFirstForm(QWidget *parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("FirstForm"));
    windows::setDialogBorder(*this, caption, clientSize);
    Panel2 = new windows::BevelPanel(this, panel2Rect);
    Label7 = windows::makeLabel(Panel2, label7);

    ListBox1 = new QListWidget(Panel2);
    ListBox1->setGeometry(listBoxRect);
    ListBox1->setFont(platform::boldFont());
    ListBox1->setCursor(Qt::PointingHandCursor);
    ListBox1->setUniformItemSizes(true);
    for (const Service &service : services) {
        auto *item = new QListWidgetItem(QString::fromUtf8(service.listText), ListBox1);
        item->setSizeHint({0, itemHeight});
        item->setData(Qt::AccessibleDescriptionRole, detailsOf(service));
    }
    // The labels follow the selected entry. Qt's current row is not the
    // selection: a list's first focus-in makes its first entry current
    // without selecting it, unless a current index was ever set, as here.
    ListBox1->setCurrentIndex({});
    // A click on the highlighted entry fills the labels as well as a move of
    // the selection by mouse or keyboard.
    const auto choose = [this] { platform::runGuarded([this] { ListBox1Click(); }); };
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, choose);
    connect(ListBox1, &QListWidget::clicked, this, choose);

    Label1 = windows::makeLabel(Panel2, label1);
    Label2 = windows::makeLabel(Panel2, label2);
    Label3 = windows::makeLabel(Panel2, label3);
    Label4 = windows::makeLabel(Panel2, label4);
    Label5 = windows::makeLabel(Panel2, label5);
    Label6 = windows::makeLabel(Panel2, label6);
}

TFirstForm::~TFirstForm()
{
    if (FirstForm.existing() == this)
        FirstForm = nullptr;
}

void TFirstForm::FormActivate()
{
    Label2->clear();
    Label4->clear();
    Label6->clear();
}

void TFirstForm::ListBox1Click()
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    const int index = selected.isEmpty() ? -1 : ListBox1->row(selected.front());
    if (index < 0 || index >= int(std::size(services)))
        return;
    const Service &service = services[index];
    setValue(Label2, service.telephone);
    setValue(Label4, service.department);
    setValue(Label6, service.address);
}
