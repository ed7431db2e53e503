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
        log().push_back({event.object(), event.type(), event.child()});
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
