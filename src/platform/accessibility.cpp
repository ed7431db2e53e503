#include "platform/accessibility.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <vector>

namespace platform {

namespace {

std::vector<AccessibleCreator> &creators()
{
    static std::vector<AccessibleCreator> list;
    return list;
}

// Qt asks once per class of the object's chain; the most derived answers.
QAccessibleInterface *createAccessible(const QString &className, QObject *object)
{
    if (!object || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    for (const AccessibleCreator &create : creators())
        if (QAccessibleInterface *created = create(object))
            return created;
    return nullptr;
}

AccessibleEventRecorder &recorder()
{
    static AccessibleEventRecorder instance;
    return instance;
}

// The notice a window speaks through: an invisible part of the window,
// named by the last message.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget *window) : QWidget(window)
    {
        setObjectName(QStringLiteral("announcer"));
        hide();
    }
};

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer *announcer) : QAccessibleWidget(announcer, QAccessible::Notification) {}
};

void postMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QCoreApplication::postEvent(
        widget, new QMouseEvent(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier));
}

} // namespace

void addAccessibleCreator(AccessibleCreator creator)
{
    if (creators().empty())
        QAccessible::installFactory(createAccessible);
    creators().push_back(std::move(creator));
}

bool accessibleEventsWanted()
{
    return QAccessible::isActive() || recorder();
}

void sendAccessibleEvent(QAccessibleEvent &event)
{
    if (recorder())
        recorder()(event);
    QAccessible::updateAccessibility(&event);
}

void setAccessibleEventRecorder(AccessibleEventRecorder recorder)
{
    platform::recorder() = std::move(recorder);
}

void announce(QWidget *widget, const QString &message)
{
    if (!accessibleEventsWanted() || message.isEmpty())
        return;
    registerAccessible<Announcer>(
        [](Announcer *announcer) -> QAccessibleInterface * { return new AnnouncerAccessible(announcer); });
    QWidget *window = widget->window();
    auto *announcer = window->findChild<Announcer *>(QString(), Qt::FindDirectChildrenOnly);
    if (!announcer)
        announcer = new Announcer(window);
    announcer->setAccessibleName(message);
    QAccessibleEvent shown(announcer, QAccessible::ObjectShow);
    sendAccessibleEvent(shown);
}

void clickAsMouse(QWidget *widget, QPoint pos)
{
    const QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != widget->window())
        return;
    postMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    postMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

AccessibleWithParts::~AccessibleWithParts()
{
    for (const auto &[index, id] : ids_)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *AccessibleWithParts::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (auto found = ids_.find(index); found != ids_.end())
        return QAccessible::accessibleInterface(found->second);
    QAccessibleInterface *made = createPart(index);
    ids_[index] = QAccessible::registerAccessibleInterface(made);
    return made;
}

int AccessibleWithParts::indexOfChild(const QAccessibleInterface *child) const
{
    auto *part = dynamic_cast<const AccessiblePart *>(child);
    return part && part->parent() == this ? part->partIndex() : -1;
}

QAccessibleInterface *AccessibleWithParts::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface *part = child(i); part->rect().contains(x, y))
            return part;
    return nullptr;
}

QWindow *AccessiblePart::window() const
{
    return owner_ ? owner_->window()->windowHandle() : nullptr;
}

QRect AccessiblePart::toScreen(const QRect &local) const
{
    return owner_ ? QRect(owner_->mapToGlobal(local.topLeft()), local.size()) : QRect();
}

void *PressablePart::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

void PressablePart::doAction(const QString &name)
{
    if (name == pressAction() && isValid())
        press();
}

} // namespace platform

#include "accessibility.moc"
