#include "controls/combo/comboaccessible.h"

#include "controls/combo/dbcomboboxex.h"
#include "controls/combo/popuplistbox.h"
#include "platform/accessibility.h"

namespace {

// An item; its press action picks it from the list as a click on it does.
class ComboItemAccessible : public platform::PressablePart {
public:
    ComboItemAccessible(TDBComboBoxEx *combo, int index) : PressablePart(combo, index) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? combo().items().value(partIndex()) : QString();
    }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.selected = combo().itemIndex() == partIndex();
        s.invisible = !combo().listShown();
        return s;
    }

protected:
    void press() override
    {
        if (!combo().isEnabled()) // its list cannot drop
            return;
        combo().OpenList();
        combo().list()->setCurrentRow(partIndex());
        combo().CloseList(true);
    }
    int partCount() const override { return int(combo().items().size()); }

private:
    TDBComboBoxEx &combo() const { return *static_cast<TDBComboBoxEx *>(owner()); }
};

class ComboAccessible : public platform::AccessibleWithParts {
public:
    explicit ComboAccessible(TDBComboBoxEx *combo) : AccessibleWithParts(combo, QAccessible::ComboBox) {}

    int childCount() const override { return int(combo().items().size()); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? combo().text() : AccessibleWithParts::text(t);
    }

protected:
    QAccessibleInterface *createPart(int index) const override { return new ComboItemAccessible(&combo(), index); }

private:
    TDBComboBoxEx &combo() const { return *static_cast<TDBComboBoxEx *>(widget()); }
};

} // namespace

QAccessibleInterface *createComboAccessible(TDBComboBoxEx *combo)
{
    return new ComboAccessible(combo);
}
