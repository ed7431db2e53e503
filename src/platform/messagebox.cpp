#include "platform/messagebox.h"

#include "platform/activation.h"
#include "platform/application.h"

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

// Character 13 is the line break of classic Windows' message boxes.
QString withLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QMessageBox::Icon iconOf(MessageStyle style)
{
    switch (style & mbIconMask) {
    case mbIconError: return QMessageBox::Critical;
    case mbIconQuestion: return QMessageBox::Question;
    case mbIconExclamation: return QMessageBox::Warning;
    case mbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

bool isYesNo(MessageStyle style)
{
    return (style & mbButtonsMask) == mbYesNo;
}

// Runs `box` modally. It answers only keys pressed while it is up, never the
// desktop's repeats of a key held down since before it appeared (the Enter
// that led to it, an Escape stuck down), which would answer it at once. The
// X desktop sends a repeat as a release and a press of the same instant; Qt
// flags the pair as a repeat only when it reads both at once.
void execAnsweringFreshKeys(QMessageBox &box)
{
    class RepeatFilter : public QObject {
    public:
        explicit RepeatFilter(const QMessageBox &box) : box_(box) { qApp->installEventFilter(this); }
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
                return false;
            const auto &key = static_cast<const QKeyEvent &>(*event);
            const Stroke stroke{key.key(), key.timestamp()};
            if (event->type() == QEvent::KeyRelease) {
                lastRelease_ = stroke;
                return false;
            }
            const bool repeated = key.isAutoRepeat() || (stroke.time != 0 && stroke == lastRelease_);
            return repeated && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == &box_;
        }

    private:
        struct Stroke {
            int key;
            quint64 time;
            bool operator==(const Stroke &) const = default;
        };
        const QMessageBox &box_;
        Stroke lastRelease_{Qt::Key_unknown, 0};
    } repeats(box);
    box.exec();
}

// Escape and the close box give the escape button's result.
int showBox(const QString &text, const QString &caption, MessageStyle style)
{
    QMessageBox box(iconOf(style), caption, withLineBreaks(text), QMessageBox::NoButton,
                    QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                      : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (isYesNo(style)) {
        QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        execAnsweringFreshKeys(box);
        return box.clickedButton() == yes ? idYes : idNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
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

int messageBox(const QString &text, const QString &caption, MessageStyle style)
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
        answerer()({text, applicationTitle(), {}});
    else
        execAnsweringFreshKeys(box);
}

} // namespace platform
