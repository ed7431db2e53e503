#include "archive/passworddlg.h"

#include "unzlib/unzlib.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QPushButton>

namespace {

constexpr int kButtonPitch = 124;
constexpr int kButtonWidth = 114;
constexpr int kButtonHeight = 28;
constexpr int kLeft = 20;
constexpr int kHeight = 137;
constexpr int kGlyphSize = 18;

// Masks the entry with "*", whatever the desktop's style would show.
class StarEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

enum class Glyph { Ok, Cancel, No, Abort };

// The stock glyphs: a green tick, a red cross, a red "no" sign, a stop sign.
QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green(0, 128, 0), red(192, 0, 0);
    switch (glyph) {
    case Glyph::Ok: {
        p.setPen(QPen(green, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(3, 9);
        tick.lineTo(7, 14);
        tick.lineTo(15, 4);
        p.drawPath(tick);
        break;
    }
    case Glyph::Cancel:
        p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(4, 4, 14, 14);
        p.drawLine(14, 4, 4, 14);
        break;
    case Glyph::No:
        p.setPen(QPen(red, 2.5));
        p.drawEllipse(QRectF(2.5, 2.5, 13, 13));
        p.drawLine(QPointF(5, 13), QPointF(13, 5));
        break;
    case Glyph::Abort: {
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        QPolygonF octagon;
        for (QPointF pt : {QPointF(6, 1), QPointF(12, 1), QPointF(17, 6), QPointF(17, 12), QPointF(12, 17),
                           QPointF(6, 17), QPointF(1, 12), QPointF(1, 6)})
            octagon << pt;
        p.drawPolygon(octagon);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 8, 8, 2.5));
        break;
    }
    }
    return QIcon(pixmap);
}

struct ButtonKind {
    TPasswordDlg::Button flag;
    TPasswordDlg::ModalResult result;
    Glyph glyph;
};

const ButtonKind kButtonKinds[4] = {
    {TPasswordDlg::pbOk, TPasswordDlg::mrOk, Glyph::Ok},
    {TPasswordDlg::pbCancel, TPasswordDlg::mrCancel, Glyph::Cancel},
    {TPasswordDlg::pbCancelAll, TPasswordDlg::mrCancelAll, Glyph::No},
    {TPasswordDlg::pbAbort, TPasswordDlg::mrAbort, Glyph::Abort},
};

} // namespace

TPasswordDlg::TPasswordDlg(Buttons buttons, const QString &caption, const QString &prompt, const QStringList &captions)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(caption);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    setFont(font);
    KeyPreview = true;

    int count = 0;
    for (int i = 0; i < 4; ++i) {
        const ButtonKind &kind = kButtonKinds[i];
        if (!buttons.testFlag(kind.flag))
            continue;
        auto *button = new QPushButton(glyphIcon(kind.glyph), captions.value(i), this);
        button->setGeometry(kLeft + count * kButtonPitch, 72, kButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, result = kind.result] { finish(result); });
        buttons_[i] = button;
        ++count;
    }
    setFixedSize(count * kButtonPitch + 35, kHeight);

    prompt_ = new QLabel(prompt, this);
    prompt_->setGeometry(kLeft, 8, 297, 18);
    edit_ = new QLineEdit(this);
    edit_->setGeometry(kLeft, 40, count * kButtonPitch - 10, edit_->sizeHint().height());
    auto *echo = new StarEchoStyle;
    echo->setParent(edit_);
    edit_->setStyle(echo);
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setMaxLength(UNZ_MAX_PASSWORD_LENGTH);
    edit_->setFocus();
    if (QPushButton *ok = button(pbOk))
        ok->setDefault(true);
}

QPushButton *TPasswordDlg::button(Button which) const
{
    for (int i = 0; i < 4; ++i)
        if (kButtonKinds[i].flag == which)
            return buttons_[i];
    return nullptr;
}

QString TPasswordDlg::password() const
{
    return edit_->text();
}

int TPasswordDlg::Execute()
{
    modalResult_ = mrCancel; // the close box cancels
    ShowModal();
    return modalResult_;
}

void TPasswordDlg::finish(int modalResult)
{
    modalResult_ = modalResult;
    close();
}

// Enter presses the focused button, else the default one (OK); Escape is
// Cancel's key.
void TPasswordDlg::FormKeyDown(int &key, Qt::KeyboardModifiers)
{
    QPushButton *target = nullptr;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        target = focused && focused->parentWidget() == this ? focused : button(pbOk);
    } else if (key == Qt::Key_Escape) {
        target = button(pbCancel);
    }
    if (target) {
        key = 0;
        target->click();
    }
}
