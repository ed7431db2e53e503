#pragma once

#include <QAccessible>
#include <QString>
#include <QStringList>
#include <vector>

class QObject;

// What a screen reader finds under `root`: the first part with this role
// and name (depth first), or nullptr.
QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name);

// Records the accessibility events sent while it lives.
class AccessibleEventLog {
public:
    AccessibleEventLog();
    ~AccessibleEventLog();
    AccessibleEventLog(const AccessibleEventLog &) = delete;
    AccessibleEventLog &operator=(const AccessibleEventLog &) = delete;

    struct Entry {
        QObject *object;
        QAccessible::Event type;
        int child;
        QString shownName; // of a part shown, as it was then
    };
    const std::vector<Entry> &events() const;
    bool contains(QObject *object, QAccessible::Event type) const;
    // The texts spoken as notices, in order.
    QStringList notices() const;
};
