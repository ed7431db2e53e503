#include "accessibletree.h"

#include "platform/accessibility.h"

#include <QAccessibleInterface>

namespace {

QAccessibleInterface *findUnder(QAccessibleInterface *node, QAccessible::Role role, const QString &name)
{
    if (!node || !node->isValid())
        return nullptr;
    if (node->role() == role && node->text(QAccessible::Name) == name)
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface *found = findUnder(node->child(i), role, name))
            return found;
    return nullptr;
}

std::vector<AccessibleEventLog::Entry> &log()
{
    static std::vector<AccessibleEventLog::Entry> entries;
    return entries;
}

} // namespace

QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name)
{
    return findUnder(QAccessible::queryAccessibleInterface(root), role, name);
}

AccessibleEventLog::AccessibleEventLog()
{
    log().clear();
    platform::setAccessibleEventRecorder([](const QAccessibleEvent &event) {
        QAccessibleInterface *part = QAccessible::queryAccessibleInterface(event.object());
        const bool shown = event.type() == QAccessible::ObjectShow && part;
        log().push_back(
            {event.object(), event.type(), event.child(), shown ? part->text(QAccessible::Name) : QString()});
    });
}

AccessibleEventLog::~AccessibleEventLog()
{
    platform::setAccessibleEventRecorder({});
    log().clear();
}

const std::vector<AccessibleEventLog::Entry> &AccessibleEventLog::events() const
{
    return log();
}

bool AccessibleEventLog::contains(QObject *object, QAccessible::Event type) const
{
    for (const Entry &entry : log())
        if (entry.object == object && entry.type == type)
            return true;
    return false;
}

QStringList AccessibleEventLog::notices() const
{
    QStringList texts;
    for (const Entry &entry : log())
        if (entry.type == QAccessible::ObjectShow &&
            QAccessible::queryAccessibleInterface(entry.object)->role() == QAccessible::Notification)
            texts << entry.shownName;
    return texts;
}
