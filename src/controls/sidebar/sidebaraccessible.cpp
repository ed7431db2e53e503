#include "controls/sidebar/sidebaraccessible.h"

#include "controls/sidebar/sidebar.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "platform/accessibility.h"

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
