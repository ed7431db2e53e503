#include "platform/keyrouter.h"

#include "platform/form.h"
#include "platform/guardedapplication.h"
#include "platform/keyboardlayout.h"

#include <QApplication>
#include <QKeyEvent>

namespace platform {

void KeyRouter::install()
{
    static QPointer<KeyRouter> router;
    if (router)
        return;
    router = new KeyRouter(qApp);
    qApp->installEventFilter(router);
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        event == retyped_ || !watched->isWidgetType())
        return false;
    // Seeing the same key again as it travels to the parents changes nothing.
    KeyboardLayout::instance().followSwitchKeys(static_cast<QKeyEvent &>(*event));
    if (type != QEvent::KeyPress)
        return false;
    auto *receiver = static_cast<QWidget *>(watched);
    // A key the receiver ignores travels on to its parents as the same event
    // in the same delivery; it is routed once, at the first widget it reaches.
    const quint64 delivery = GuardedApplication::currentKeyDelivery();
    if (event == routed_ && delivery == routedDelivery_ && routedTo_ && routedTo_ != receiver &&
        receiver->isAncestorOf(routedTo_))
        return false;
    routed_ = event;
    routedDelivery_ = delivery;
    routedTo_ = receiver;
    return route(*receiver, static_cast<QKeyEvent &>(*event));
}

bool KeyRouter::route(QWidget &receiver, QKeyEvent &event)
{
    if (auto *form = qobject_cast<Form *>(receiver.window()); form && form->previewKey(event))
        return true;
    const QString text = KeyboardLayout::instance().translated(event);
    if (text.isEmpty())
        return false;
    QKeyEvent retyped(QEvent::KeyPress, event.key(), event.modifiers(), text, event.isAutoRepeat(),
                      static_cast<quint16>(event.count()));
    retyped_ = &retyped;
    QCoreApplication::sendEvent(&receiver, &retyped);
    retyped_ = nullptr;
    return true;
}

} // namespace platform
