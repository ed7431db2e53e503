#include "messagebox.h"

#include "activation.h"
#include "application.h"

#include <QApplication>
#include <QKeyEvent>
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

// Runs `box` modally. It answers only keys pressed while it is up: the
// desktop repeats a key held down since before the box appeared (the Enter
// that led to it, an Escape stuck down), which would answer it at once.
void execAnsweringFreshKeys(QMessageBox &box)
{
    class RepeatFilter : public QObject {
    public:
        explicit RepeatFilter(const QMessageBox &box) : box_(box) { qApp->installEventFilter(this); }
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            return event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->isAutoRepeat() &&
                   watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == &box_;
        }

    private:
        const QMessageBox &box_;
    } repeats(box);
    box.exec();
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
        execAnsweringFreshKeys(box);
        return box.clickedButton() == yes ? idYes : idNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    execAnsweringFreshKeys(box);
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
        execAnsweringFreshKeys(box);
}

} // namespace platform
