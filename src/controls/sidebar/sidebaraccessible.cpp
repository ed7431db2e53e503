#include "controls/sidebar/sidebaraccessible.h"

#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "platform/accessibility.h"
#include "platform/keyboardreach.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QTimer>

namespace {

// Where one header or item lies and what it says, from the layout that
// painting uses.
struct SideBarPart {
    QString caption;
    QRect bounds;
    QPoint clickPoint;
    bool header = false;
};

int partCountOf(TSideBar &bar)
{
    const TSideBarViewInfo &layout = bar.viewInfo();
    return int(layout.GroupInfos().size() + layout.ItemInfos().size());
}

// A part kept from a longer bar than now shown is empty.
SideBarPart partOf(TSideBar &bar, int index)
{
    const TSideBarViewInfo &layout = bar.viewInfo();
    const int headers = int(layout.GroupInfos().size());
    if (index < 0 || index >= partCountOf(bar))
        return {};
    if (index < headers) {
        const TSideGroupViewInfo &info = *layout.GroupInfos()[index];
        return {info.Group->caption(), info.HeaderBounds.toQRect(), info.HeaderBounds.toQRect().center(), true};
    }
    const TSideItemViewInfo &info = *layout.ItemInfos()[index - headers];
    const QRect frame = info.frameBounds().toQRect();
    return {info.Item->caption(), frame.united(info.TextBounds.toQRect()), frame.center()};
}

// The item the keyboard reached, one per bar.
class SideBarKeys : public QObject {
    Q_OBJECT
public:
    explicit SideBarKeys(TSideBar *bar) : QObject(bar), bar_(*bar)
    {
        setObjectName(QStringLiteral("sideBarKeys"));
        bar->installEventFilter(this);
        platform::reachableWhileAccessible(bar, [this] {
            if (const SideBarPart item = partOf(bar_, current()); !item.caption.isNull())
                platform::clickAsMouse(&bar_, item.clickPoint);
        });
    }
    static const SideBarKeys *of(TSideBar &bar)
    {
        return bar.findChild<SideBarKeys *>(QStringLiteral("sideBarKeys"), Qt::FindDirectChildrenOnly);
    }
    // The part index of the item reached: the first item until a key moved.
    int current() const { return std::clamp(current_, firstItem(), std::max(firstItem(), partCountOf(bar_) - 1)); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // After Qt's own focus event for the bar.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, this, &SideBarKeys::announce);
        if (event->type() != QEvent::KeyPress || !bar_.hasFocus())
            return false;
        const int last = partCountOf(bar_) - 1;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up: current_ = std::max(firstItem(), current() - 1); break;
        case Qt::Key_Down: current_ = std::min(last, current() + 1); break;
        case Qt::Key_Home: current_ = firstItem(); break;
        case Qt::Key_End: current_ = last; break;
        default: return false;
        }
        announce();
        return true;
    }

private:
    int firstItem() const { return int(bar_.viewInfo().GroupInfos().size()); }
    void announce() const
    {
        if (!platform::accessibleEventsWanted() || current() >= partCountOf(bar_))
            return;
        QAccessibleEvent focus(&bar_, QAccessible::Focus);
        focus.setChild(current());
        platform::sendAccessibleEvent(focus);
    }

    TSideBar &bar_;
    int current_ = 0;
};

class SideBarPartAccessible : public platform::PressablePart {
public:
    SideBarPartAccessible(TSideBar *bar, int index) : PressablePart(bar, index) {}

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? part().caption : QString(); }
    QRect rect() const override { return toScreen(part().bounds); }
    QAccessible::Role role() const override { return part().header ? QAccessible::Heading : QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.disabled = !owner()->isEnabled();
        s.invisible = !owner()->isVisible();
        if (!part().header) {
            const SideBarKeys *keys = SideBarKeys::of(bar());
            s.focusable = keys && owner()->focusPolicy() != Qt::NoFocus;
            s.focused = s.focusable && owner()->hasFocus() && keys->current() == partIndex();
        }
        return s;
    }

protected:
    void press() override { platform::clickAsMouse(owner(), part().clickPoint); }
    int partCount() const override { return partCountOf(bar()); }

private:
    TSideBar &bar() const { return *static_cast<TSideBar *>(owner()); }
    SideBarPart part() const { return partOf(bar(), partIndex()); }
};

class SideBarAccessible : public platform::AccessibleWithParts {
public:
    explicit SideBarAccessible(TSideBar *bar) : AccessibleWithParts(bar, QAccessible::ToolBar) {}

    int childCount() const override { return partCountOf(*static_cast<TSideBar *>(widget())); }

    QAccessibleInterface *focusChild() const override
    {
        auto *bar = static_cast<TSideBar *>(widget());
        const SideBarKeys *keys = SideBarKeys::of(*bar);
        return keys && bar->hasFocus() ? child(keys->current()) : nullptr;
    }

protected:
    QAccessibleInterface *createPart(int index) const override
    {
        return new SideBarPartAccessible(static_cast<TSideBar *>(widget()), index);
    }
};

} // namespace

QAccessibleInterface *createSideBarAccessible(TSideBar *bar)
{
    return new SideBarAccessible(bar);
}

void reachSideBarItems(TSideBar *bar)
{
    new SideBarKeys(bar);
}

#include "sidebaraccessible.moc"
