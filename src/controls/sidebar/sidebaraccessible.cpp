#include "sidebaraccessible.h"

#include "accessibility.h"
#include "sidebar.h"
#include "sidebarviewinfo.h"

#include <QAccessibleWidget>

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
    const TSideBarViewInfo &layout = bar.ViewInfo();
    return int(layout.GroupInfos().size() + layout.ItemInfos().size());
}

SideBarPart partOf(TSideBar &bar, int index)
{
    const TSideBarViewInfo &layout = bar.ViewInfo();
    const int headers = int(layout.GroupInfos().size());
    if (index < headers) {
        const TSideGroupViewInfo &info = *layout.GroupInfos()[index];
        return {info.Group->Caption(), info.HeaderBounds.toQRect(), info.HeaderBounds.toQRect().center(), true};
    }
    const TSideItemViewInfo &info = *layout.ItemInfos()[index - headers];
    const QRect frame = info.FrameBounds().toQRect();
    return {info.Item->Caption(), frame.united(info.TextBounds.toQRect()), frame.center()};
}

class SideBarPartAccessible : public platform::AccessiblePart, public QAccessibleActionInterface {
public:
    SideBarPartAccessible(TSideBar *bar, int index) : AccessiblePart(bar, index) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? part().caption : QString();
    }
    QRect rect() const override { return toScreen(part().bounds); }
    QAccessible::Role role() const override { return part().header ? QAccessible::Heading : QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.disabled = !owner()->isEnabled();
        s.invisible = !owner()->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            platform::clickAsMouse(owner(), part().clickPoint);
    }

protected:
    int partCount() const override { return partCountOf(bar()); }

private:
    TSideBar &bar() const { return *static_cast<TSideBar *>(owner()); }
    SideBarPart part() const { return partOf(bar(), partIndex()); }
};

class SideBarAccessible : public platform::AccessibleWithParts {
public:
    explicit SideBarAccessible(TSideBar *bar) : AccessibleWithParts(bar, QAccessible::ToolBar) {}

    int childCount() const override { return partCountOf(*static_cast<TSideBar *>(widget())); }

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
