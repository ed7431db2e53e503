#include "platform/keypress.h"

#include "platform/errorreport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

QChar keyPressCharacter(const QKeyEvent &event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter)
        return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier) ? QChar() : QChar(13);
    return event.text().size() == 1 ? event.text().front() : QChar();
}

void setKeyPressHandler(QWidget *control, KeyPressHandler handler)
{
    new KeyPressHook(control, std::move(handler));
}

KeyPressHook::KeyPressHook(QWidget *control, KeyPressHandler handler) : QObject(control), handler_(std::move(handler))
{
    control->installEventFilter(this);
}

bool KeyPressHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || event == retyped_)
        return false;
    auto &keyEvent = static_cast<QKeyEvent &>(*event);
    const QChar typed = keyPressCharacter(keyEvent);
    if (typed.isNull())
        return false;
    QChar key = typed;
    if (!runGuarded([&] { handler_(key); }) || key.isNull())
        return true;
    if (key == typed)
        return false;
    QKeyEvent retyped(QEvent::KeyPress, keyEvent.key(), keyEvent.modifiers(), QString(key), keyEvent.isAutoRepeat(),
                      static_cast<quint16>(keyEvent.count()));
    retyped_ = &retyped;
    QCoreApplication::sendEvent(watched, &retyped);
    retyped_ = nullptr;
    return true;
}

} // namespace platform
