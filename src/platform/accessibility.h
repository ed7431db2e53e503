#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

// What assistive technology sees of the program's own controls. Each control
// that paints itself registers its interface here once; a single factory
// hands the interfaces to Qt.
namespace platform {

using AccessibleCreator = std::function<QAccessibleInterface *(QObject *object)>;
void addAccessibleCreator(AccessibleCreator creator);

// Registers `create` for every object of type `Widget` (the first call per
// type counts). Classes without Q_OBJECT are told apart by their C++ type.
template <typename Widget> void registerAccessible(QAccessibleInterface *(*create)(Widget *widget))
{
    static const bool registered = [create] {
        addAccessibleCreator([create](QObject *object) -> QAccessibleInterface * {
            auto *widget = dynamic_cast<Widget *>(object);
            return widget ? create(widget) : nullptr;
        });
        return true;
    }();
    (void)registered;
}

// Events reach assistive technology only while some listens: a screen
// reader, or a test's recorder (the offscreen platform has no reader).
bool accessibleEventsWanted();
void sendAccessibleEvent(QAccessibleEvent &event);
using AccessibleEventRecorder = std::function<void(const QAccessibleEvent &event)>;
void setAccessibleEventRecorder(AccessibleEventRecorder recorder);

// Speaks `message` through assistive technology as a notice of the window
// of `widget`, without moving the focus: the count of a search while the
// user stays in the search field.
void announce(QWidget *widget, const QString &message);

// A left click at `pos` delivered through the event queue, so the control
// handles it exactly as the mouse's, after the caller returned (a press
// action must not block while the click opens a modal window). Nothing
// happens while another window is modal, as for the mouse.
void clickAsMouse(QWidget *widget, QPoint pos);

// A widget whose children are parts that are no widgets of their own
// (cells, items). Each part is made on first use, found by its index, and
// resolves what it shows on every call, so a kept part never shows stale
// content; the parts go with the widget's interface.
class AccessibleWithParts : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    ~AccessibleWithParts() override;

    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

protected:
    virtual QAccessibleInterface *createPart(int index) const = 0;

private:
    mutable std::map<int, QAccessible::Id> ids_;
};

// The bits every part of a control shares: it lives inside the control's
// widget, has no children and is found through its parent.
class AccessiblePart : public QAccessibleInterface {
public:
    AccessiblePart(QWidget *owner, int index) : owner_(owner), index_(index) {}

    bool isValid() const override { return owner_ && index_ < partCount(); }
    int partIndex() const { return index_; }

    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(owner_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

protected:
    // How many parts of this kind the owner shows now.
    virtual int partCount() const = 0;
    QWidget *owner() const { return owner_; }
    // A rectangle in the owner's coordinates, on the screen.
    QRect toScreen(const QRect &local) const;

private:
    QPointer<QWidget> owner_;
    int index_;
};

// A part that a click acts on (an item, an entry of a list): its press
// action does what a click on it does.
class PressablePart : public AccessiblePart, public QAccessibleActionInterface {
public:
    using AccessiblePart::AccessiblePart;

    void *interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override;

protected:
    virtual void press() = 0;
};

} // namespace platform
