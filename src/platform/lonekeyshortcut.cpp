#include "platform/lonekeyshortcut.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

namespace {

// Takes the short-cut's press from Qt's short-cut machinery, then watches
// every key of the application (ahead of a screen reader's own filter, which
// may swallow the other key of a chord) until the short-cut's key goes up.
class LoneKeyShortcut : public QObject {
    Q_OBJECT
public:
    LoneKeyShortcut(QAction *action, QWidget *control) : QObject(control), action_(action)
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (armed_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
            watchKey(static_cast<QKeyEvent &>(*event));
        return watched == parent() && filterControl(*event);
    }

private:
    bool isShortcut(const QKeyEvent &key) const { return QKeySequence(key.keyCombination()) == action_->shortcut(); }
    bool filterControl(QEvent &event)
    {
        switch (event.type()) {
        case QEvent::ShortcutOverride:
            if (!isShortcut(static_cast<QKeyEvent &>(event)))
                return false;
            event.accept();
            arm(true);
            return true;
        case QEvent::KeyPress:
            // The press belongs to the short-cut, not to the control.
            return key_ != 0 && static_cast<QKeyEvent &>(event).key() == key_;
        case QEvent::FocusOut: arm(false); return false;
        default: return false;
        }
    }
    void watchKey(const QKeyEvent &key)
    {
        if (key.key() == key_ && key.isAutoRepeat())
            return;
        if (key.type() == QEvent::KeyPress && key.key() != key_) {
            arm(false);
            return;
        }
        if (key.type() == QEvent::KeyRelease && key.key() == key_) {
            arm(false);
            if (action_->isEnabled())
                action_->trigger();
        }
    }
    void arm(bool armed)
    {
        if (armed == armed_)
            return;
        armed_ = armed;
        key_ = armed ? action_->shortcut()[0].key() : 0;
        if (armed)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

    QAction *action_;
    bool armed_ = false;
    int key_ = 0; // the short-cut's key while armed
};

} // namespace

void runOnLoneRelease(QAction *action, QWidget *control)
{
    new LoneKeyShortcut(action, control);
}

} // namespace platform

#include "lonekeyshortcut.moc"
