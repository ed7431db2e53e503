#include "messagebox.h"

#include "activation.h"
#include "application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

MessageAnswerer &answerer()
{
    static MessageAnswerer installed;
    return installed;
}

// Character 13 is the line break of the desktop's boxes.
QString withLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

bool isYesNo(int style)
{
    return (style & 0x0F) == 4;
}

// Escape and the close box give the escape button's result.
int showBox(const QString &text, const QString &caption, int style)
{
    QMessageBox box(iconOf(style), caption, withLineBreaks(text), QMessageBox::NoButton,
                    QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (isYesNo(style)) {
        QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? idYes : idNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return idOk;
}

} // namespace

void setMessageAnswerer(MessageAnswerer installed)
{
    answerer() = std::move(installed);
}

int messageBox(const QString &text, const QString &caption, int style)
{
    if (answerer())
        return answerer()({text, caption, style});
    return showBox(text, caption, style);
}

void showPlainMessage(const QString &text)
{
    // Without an owner the box is centred on the screen.
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), withLineBreaks(text));
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    const OwnWindowScope own(&box);
    if (answerer())
        answerer()({text, applicationTitle(), 0});
    else
        box.exec();
}

} // namespace platform
