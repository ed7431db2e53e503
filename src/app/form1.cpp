#include "app/form1.h"

#include "app/directoryarchive.h"
#include "app/menuimages.h"
#include "app/sidemenu.h"
#include "archive/zipextractor.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"
#include "controls/grid/gridaccessible.h"
#include "controls/sidebar/sidebar.h"
#include "platform/anchors.h"
#include "platform/colors.h"
#include "platform/errorreport.h"
#include "platform/fonts.h"
#include "platform/keyboardlayout.h"
#include "platform/keypress.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/uppercaseedit.h"
#include "windows/bevelpanel.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/declaredgrid.h"
#include "windows/forms.h"
#include "windows/maker.h"

#include "windows/aboutform.h"
#include "windows/firstform.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStatusBar>

TForm1 *Form1 = nullptr;

namespace {

const QSize ClientSize{811, 501};
// Below this the search fields and the upper grid would shrink to nothing
// and the right-anchored controls run over the left ones.
const QSize MinimumClientSize{650, 350};
constexpr int StatusBarHeight = 19;
constexpr int SideBarWidth = 97;

const QStringList SearchSql{
    QStringLiteral("SELECT Tel, Abon, Otdel, Adres"),
    QStringLiteral("FROM \"data.db\" Country"),
    QStringLiteral("WHERE   (Tel Like :Name_param and Abon Like :Name_param2 "),
    QStringLiteral("and Adres Like :Name_param3)"),
};

struct FieldDeclaration {
    const char *name;
    const char *label;
};
const FieldDeclaration SearchFields[] = {
    {"Tel", "Телефон"}, {"Abon", "Абонент"}, {"Otdel", "Отдел"}, {"Adres", "Адрес"}};

const QString NotFoundText = QStringLiteral("По Вашему запросу не найдено ни одной записи.\rПовторите поиск!");
const QString ExitQuestion = QStringLiteral("Вы действительно хотите выйти из программы?");

const QString HelpFile = QStringLiteral("help.html");

// One line: the rights notice, then after runs of spaces the web and mail addresses.
QString statusLine()
{
    const QString gap(12, QLatin1Char(' '));
    return maker::rightsNotice() + gap + maker::webAddress + gap + maker::emailAddress;
}

} // namespace

TForm1::TForm1()
{
    Form1 = this;
    setWindowTitle(Caption);
    setWindowIcon(menuimages::programIcon());
    setPosition(poDesktopCenter);
    resize(ClientSize);
    setMinimumSize(MinimumClientSize);
    setFont(platform::defaultFont());

    createSideMenu();
    Panel1 = new QWidget(this);
    Panel1->setGeometry(SideBarWidth, 0, ClientSize.width() - SideBarWidth, ClientSize.height() - StatusBarHeight);
    Panel2 = new QWidget(Panel1);
    Panel2->setGeometry(Panel1->rect());
    Label6 = windows::makeLabel(
        Panel2, {{8, 8}, QStringLiteral("Телефонный справочник г.Верескина"), windows::Look::RedBold, {219, 13}});
    createSearchPanel();
    createResultGrids();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(true);
    StatusBar1->setGeometry(0, ClientSize.height() - StatusBarHeight, ClientSize.width(), StatusBarHeight);
    auto *status = new QLabel(statusLine(), StatusBar1);
    StatusBar1->addWidget(status, 1);

    ZipExtractor1 = new TZipExtractor(this);
    ZipExtractor1->setTrace(true);

    auto *anchors = new platform::AnchorKeeper(this);
    anchors->add(SideBar, platform::akLeft | platform::akTop | platform::akBottom);
    anchors->add(Panel1, platform::akLeft | platform::akTop | platform::akRight | platform::akBottom);
    anchors->add(StatusBar1, platform::akLeft | platform::akRight | platform::akBottom);
    auto *inner = new platform::AnchorKeeper(Panel1);
    inner->add(Panel2, platform::akLeft | platform::akTop | platform::akRight | platform::akBottom);
    auto *panel = new platform::AnchorKeeper(Panel2);
    panel->add(Panel4, platform::akLeft | platform::akTop | platform::akRight);
    panel->add(DBGridEx1, platform::akLeft | platform::akTop | platform::akRight | platform::akBottom);
    panel->add(DBGridEx2, platform::akLeft | platform::akRight | platform::akBottom);
    panel->add(DBNavigator1, platform::akLeft | platform::akBottom);
    auto *search = new platform::AnchorKeeper(Panel4);
    search->add(Label3, platform::akTop | platform::akRight);
    search->add(Edit2, platform::akLeft | platform::akTop | platform::akRight);
    search->add(Edit3, platform::akTop | platform::akRight);
    search->add(FlatSpeedButton1, platform::akTop | platform::akRight);
    search->add(FlatSpeedButton2, platform::akTop | platform::akRight);

    FormCreate();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::createSideMenu()
{
    imgLarge = menuimages::createLargeImages(this);
    SideBar = new TSideBar(this);
    SideBar->setGeometry(0, 0, SideBarWidth, ClientSize.height() - StatusBarHeight);
    SideBar->setBarCursor(Qt::PointingHandCursor);
    SideBar->setColor(platform::colors::clInfoBk);
    SideBar->bkGround().setBeginColor(platform::colors::clGrayText);
    SideBar->bkGround().setEndColor(platform::colors::clGrayText);
    SideBar->bkGround().setFillStyle(bfsNone);
    SideBar->setCanSelected(false);
    SideBar->setGroupFont(platform::defaultFont());
    SideBar->setGroupFontColor(platform::colors::clWindowText);
    SideBar->setItemFont(platform::defaultFont());
    SideBar->setItemFontColor(platform::colors::clBlack);
    SideBar->setLargeImages(imgLarge);
    SideBar->setPaintStyle(sbpsXP);
    SideBar->setScrollDelay(300);
    SideBar->setSpaceHeight(7);
    SideBar->setGroupHeightOffSet(0);
    SideBar->setTransparentImages(true);
    SideBar->setShowGroups(true);
    SideBar->setDragMode(dmAutomatic);
    TSideGroup &group = SideBar->groups().Add();
    group.setCaption(QStringLiteral("МЕНЮ"));
    group.setIconType(sgLargeIcon);
    for (const sidemenu::MenuItem &entry : sidemenu::MenuItems) {
        TSideBarItem &item = group.items().Add();
        item.setCaption(QString::fromUtf8(entry.caption));
        item.Tag = entry.tag;
        item.setLargeImage(entry.largeImage);
        item.setSmallImage(-1);
        item.setDefault(true);
    }
    SideBar->setActiveGroupIndex(0);
    SideBar->OnItemClick = [this](TSideBar &sender, TSideBarItem *item) {
        platform::runGuarded([&] { SideBarItemClick(sender, item); });
    };
}

void TForm1::createSearchPanel()
{
    Panel4 = new windows::BevelPanel(Panel2, {8, 24, 697, 57});
    Label2 = windows::makeLabel(Panel4, {{8, 8}, QStringLiteral("Телефон:"), windows::Look::Bold, {57, 13}});
    Label1 = windows::makeLabel(Panel4, {{72, 8}, QStringLiteral("Абонент:"), windows::Look::Bold, {54, 13}});
    Label3 = windows::makeLabel(Panel4, {{304, 8}, QStringLiteral("Адрес:"), windows::Look::Bold, {41, 13}});
    Edit1 = platform::makeUpperCaseEdit(Panel4, {8, 24, 57, 21});
    Edit2 = platform::makeUpperCaseEdit(Panel4, {72, 24, 225, 21});
    Edit3 = platform::makeUpperCaseEdit(Panel4, {304, 24, 193, 21});
    windows::labelFor(Label2, Edit1);
    windows::labelFor(Label1, Edit2);
    windows::labelFor(Label3, Edit3);
    FlatSpeedButton1 =
        windows::makeFlatButton(Panel4, {504, 24, 89, 22}, QStringLiteral("Поиск"), QStringLiteral("Начать поиск"));
    FlatSpeedButton2 = windows::makeFlatButton(Panel4, {600, 24, 89, 22}, QStringLiteral("Очистить"),
                                               QStringLiteral("Очистить поля поиска"));
    windows::setClickHandler(FlatSpeedButton1, [this] { FlatSpeedButton1Click(); });
    windows::setClickHandler(FlatSpeedButton2, [this] { FlatSpeedButton2Click(); });
    platform::setKeyPressHandler(Edit1, [this](QChar &key) { Edit1KeyPress(key); });
    platform::setKeyPressHandler(Edit2, [this](QChar &key) { Edit2KeyPress(key); });
    platform::setKeyPressHandler(Edit3, [this](QChar &key) { Edit3KeyPress(key); });
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
}

void TForm1::createResultGrids()
{
    Query1.setSql(SearchSql);
    for (const FieldDeclaration &declared : SearchFields)
        Query1.addField(QString::fromLatin1(declared.name)).setDisplayLabel(QString::fromUtf8(declared.label));
    DataSource1.setDataSet(&Query1);

    DBGridEx1 = windows::makeResultGrid(Panel2, {8, 88, 697, 215}, &DataSource1);
    windows::addColumns(*DBGridEx1, {{QStringLiteral("Tel"), 68}, {QStringLiteral("Abon"), 604}});
    DBGridEx1->columns()[0].footer().setValueType(grid::fvtStaticText);
    DBGridEx1->columns()[0].footer().setValue(QStringLiteral("Записей"));
    DBGridEx1->columns()[1].footer().setValueType(grid::fvtCount);
    windows::addSearchLook(*DBGridEx1);

    DBGridEx2 = windows::makeResultGrid(Panel2, {8, 310, 697, 137}, &DataSource1);
    windows::addColumns(*DBGridEx2, {{QStringLiteral("Adres"), 318}, {QStringLiteral("Otdel"), 351}});
    windows::addSearchLook(*DBGridEx2);

    DBNavigator1 = windows::makeNavigator(Panel2, {8, 456}, &DataSource1);
}

void TForm1::FormCreate()
{
    KeyPreview = true;
}

void TForm1::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    if ((shift & Qt::AltModifier) && key == Qt::Key_F4)
        key = 0;
}

void TForm1::FormActivate()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit1->setFocus();
    platform::loadKeyboardLayout(QStringLiteral("00000419"), platform::KLF_ACTIVATE);
    // A damaged archive's report box re-activates this window while the
    // step is still under way; unpacking again from there would show the
    // box again without end.
    if (unpacking_)
        return;
    // An exit confirmed meanwhile ends the program once the library has
    // returned, also when the unpack failed.
    const auto exitIfAsked = qScopeGuard([this] {
        if (exitAfterUnpack_)
            leave();
    });
    const QScopedValueRollback busy(unpacking_, true);
    directoryarchive::unpack(*ZipExtractor1);
}

void TForm1::FormClose(platform::CloseAction &action)
{
    if (platform::messageBox(ExitQuestion, QStringLiteral("Подтверждение"), platform::mbQuestionYesNo) !=
        platform::idYes) {
        action = platform::caNone;
        return;
    }
    if (TKnigaForm *book = KnigaForm.existing())
        book->Table1.close();
    if (unpacking_) {
        // The library is still writing under us: end once it has returned.
        exitAfterUnpack_ = true;
        action = platform::caHide;
        return;
    }
    directoryarchive::deleteUnpackedTables();
    action = platform::caFree;
}

void TForm1::leave()
{
    directoryarchive::deleteUnpackedTables();
    QApplication::quit();
}

void TForm1::FlatSpeedButton1Click()
{
    Query1.close();
    if (!Query1.prepared())
        Query1.prepare();
    Query1.setParamByName(QStringLiteral("Name_param"), Edit1->text() + QLatin1Char('%'));
    Query1.setParamByName(QStringLiteral("Name_param2"), Edit2->text() + QLatin1Char('%'));
    Query1.setParamByName(QStringLiteral("Name_param3"), Edit3->text() + QLatin1Char('%'));
    Query1.open();
    if (Query1.fieldByName(QStringLiteral("Tel")).isNull()) {
        if (platform::messageBox(NotFoundText, QStringLiteral("Внимание!"), platform::mbExclamationOk) ==
            platform::idOk)
            FlatSpeedButton2->Click();
        return;
    }
    grid::announceSummary(*DBGridEx1);
}

void TForm1::FlatSpeedButton2Click()
{
    Query1.close();
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit1->setFocus();
}

void TForm1::Edit1KeyPress(QChar &key)
{
    if (key == QChar(13))
        FlatSpeedButton1->Click();
}

void TForm1::Edit2KeyPress(QChar &key)
{
    Edit1KeyPress(key);
}

void TForm1::Edit3KeyPress(QChar &key)
{
    Edit1KeyPress(key);
}

void TForm1::SideBarItemClick(TSideBar &, TSideBarItem *item)
{
    switch (item->Tag) {
    case 1: FirstForm->ShowModal(); break;
    case 2: KnigaForm->ShowModal(); break;
    case 3: KodForm->ShowModal(); break;
    case 4: AboutForm->ShowModal(); break;
    // The help is an HTML page opened by the desktop's own handler: a Linux
    // desktop has no compiled-help viewer to start.
    case 5: platform::startHelpViewer(HelpFile); break;
    default: break;
    }
}
