#include "platform/keyboardreach.h"

#include "platform/screenreaderstatus.h"

#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace platform {

namespace {

// Follows assistive technology coming and going, and gives or takes the
// focus of every reachable control.
class ReachTracker {
public:
    static ReachTracker &instance()
    {
        static ReachTracker tracker;
        return tracker;
    }
    bool active() const { return active_; }
    void add(QWidget *control)
    {
        controls_.emplace_back(control);
        apply(*control);
    }
    void activeChanged(bool active)
    {
        active_ = active;
        std::erase_if(controls_, [](const QPointer<QWidget> &control) { return !control; });
        for (const QPointer<QWidget> &control : controls_)
            apply(*control);
    }

private:
    ReachTracker() : active_(assistiveTechnologyActive())
    {
        onAssistiveTechnologyChanged([this](bool active) { activeChanged(active); });
    }
    void apply(QWidget &control) const { control.setFocusPolicy(active_ ? Qt::TabFocus : Qt::NoFocus); }

    bool active_;
    std::vector<QPointer<QWidget>> controls_;
};

class PressKeys : public QObject {
    Q_OBJECT
public:
    PressKeys(QWidget *control, std::function<void()> press) : QObject(control), press_(std::move(press))
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !ReachTracker::instance().active())
            return false;
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (key.modifiers() & ~Qt::KeypadModifier)
            return false;
        if (key.key() != Qt::Key_Space && key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
            return false;
        const std::function<void()> press = press_; // the press may replace the handler
        press();
        return true;
    }

private:
    std::function<void()> press_;
};

} // namespace

void reachableWhileAccessible(QWidget *control, std::function<void()> press)
{
    ReachTracker::instance().add(control);
    new PressKeys(control, std::move(press));
}

bool accessibilityActive()
{
    return ReachTracker::instance().active();
}

} // namespace platform

#include "keyboardreach.moc"
