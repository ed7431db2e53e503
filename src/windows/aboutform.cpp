#include "windows/aboutform.h"

#include "controls/flat/flatpanel.h"
#include "controls/flat/flatspeedbutton.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/shell.h"
#include "windows/clickablelabel.h"
#include "windows/clickhandler.h"
#include "windows/declaredcontrols.h"
#include "windows/forms.h"
#include "windows/maker.h"
#include "windows/pictures.h"
#include "windows/toplinebevel.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <algorithm>

using windows::LabelDecl;
using windows::Look;

namespace {

const QString caption = QStringLiteral("О программе");
const QSize clientSize{432, 320};

const QRect flatPanel2Rect{8, 8, 169, 297};
const QRect image1Rect{2, 2, 165, 293}; // inside the panel's 2-pixel border

const LabelDecl label9{{296, 16}, QStringLiteral("ТЕЛЕФОННЫЙ"), Look::Bold, {113, 16}, false, false, 10};
// Sized to its text: the 24-point face here is wider than the declared box,
// so it moves left where it would run past the right column's edge.
const LabelDecl label10{{232, 24}, QStringLiteral("Справочник"), Look::Bold, {}, false, false, 24};
constexpr int rightColumnEdge = 417;
const LabelDecl label11{{344, 56}, QStringLiteral("Версия 1.00"), Look::Regular, {61, 13}};
const QRect bevel1Rect{192, 80, 225, 2};

const LabelDecl label1{{192, 88}, maker::name, Look::Bold};
const LabelDecl label7{{192, 104}, QStringLiteral("Написано на C++ с Qt 6 и SQLite"), Look::Bold, {}, true};
// The two requirement labels are adapted: instead of old Windows versions
// and the database engine they name what this program is verified on and
// the one file it needs.
const LabelDecl label5{{192, 128},    QStringLiteral("Проверено: Linux (Debian 12, Qt 6, X11).") + QString(18, u' '),
                       Look::Regular, {195, 39},
                       true,          true};
const LabelDecl label6{{192, 176},    QStringLiteral("Для работы программы требуется файл basa.tel в рабочем каталоге"),
                       Look::Regular, {225, 33},
                       true,          true};
const LabelDecl label4{{192, 216}, maker::webAddress, Look::RedBold};
const LabelDecl label2{{192, 232}, QStringLiteral("e-mail: ") + maker::emailAddress, Look::RedBold};
const LabelDecl label3{{192, 248}, QStringLiteral("© %1. Все права защищены.").arg(maker::years), Look::Bold};
const QRect okRect{192, 280, 225, 25};

windows::ClickableLabel *makeLink(QWidget *parent, const LabelDecl &decl, const QString &hint)
{
    auto *link = new windows::ClickableLabel(parent);
    windows::setUpLabel(*link, decl);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(hint);
    return link;
}

} // namespace

TAboutForm::TAboutForm(QWidget *parent) : platform::Form(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    windows::setDialogBorder(*this, caption, clientSize);

    FlatPanel2 = new TFlatPanel(this);
    FlatPanel2->setGeometry(flatPanel2Rect);
    FlatPanel2->setActivate(false);
    FlatPanel2->setBorderColor(platform::colors::clBtnShadow);
    FlatPanel2->setFlat(true);
    FlatPanel2->setShowBorder(true);
    // The picture is taller than the panel: drawn unscaled from its top-left
    // corner, its lowest rows are cut off.
    Image1 = new QLabel(FlatPanel2);
    Image1->setGeometry(image1Rect);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(windows::picture(QStringLiteral("about-picture.svg"))));

    Label9 = windows::makeLabel(this, label9);
    Label10 = windows::makeLabel(this, label10);
    Label10->move(std::min(Label10->x(), rightColumnEdge - Label10->width()), Label10->y());
    Label11 = windows::makeLabel(this, label11);
    Bevel1 = new windows::TopLineBevel(this, bevel1Rect);
    Label1 = windows::makeLabel(this, label1);
    Label7 = windows::makeLabel(this, label7);
    Label5 = windows::makeLabel(this, label5);
    Label6 = windows::makeLabel(this, label6);
    Label4 = makeLink(this, label4, QStringLiteral("Посетить сайт"));
    Label2 = makeLink(this, label2, QStringLiteral("Послать электронное сообщение"));
    Label3 = windows::makeLabel(this, label3);
    windows::setClickHandler(Label4, [this] { Label4Click(); });
    windows::setClickHandler(Label2, [this] { Label2Click(); });

    FlatSpeedButton1 = windows::makeFlatButton(this, okRect, QStringLiteral("OK"));
    windows::setClickHandler(FlatSpeedButton1, [this] { FlatSpeedButton1Click(); });
}

// No control but the button takes the focus, and a screen reader skips short
// labels: the texts are spoken as one notice once the window is up.
void TAboutForm::showEvent(QShowEvent *event)
{
    platform::Form::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        QStringList texts;
        for (const QLabel *label : std::initializer_list<const QLabel *>{Label9, Label10, Label11, Label1, Label7,
                                                                         Label5, Label6, Label4, Label2, Label3})
            texts << label->text().simplified();
        platform::announce(this, texts.join(QLatin1Char('\n')));
    });
}

TAboutForm::~TAboutForm()
{
    if (AboutForm.existing() == this)
        AboutForm = nullptr;
}

void TAboutForm::Label4Click()
{
    platform::openUrl(maker::webAddress);
}

void TAboutForm::Label2Click()
{
    platform::openUrl(QStringLiteral("mailto:") + maker::emailAddress);
}

void TAboutForm::FlatSpeedButton1Click()
{
    close();
}
