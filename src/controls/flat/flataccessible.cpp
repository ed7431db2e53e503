#include "controls/flat/flataccessible.h"

#include "controls/flat/flatpanel.h"
#include "controls/flat/flatspeedbutton.h"
#include "platform/accessibility.h"

#include <QAccessibleWidget>

namespace flat {

namespace {

// "&" marks the underlined character of a caption; a reader says none.
QString withoutMnemonic(QString caption)
{
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(TFlatSpeedButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const QString caption = withoutMnemonic(button()->caption());
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return caption.isEmpty() ? widget()->toolTip() : caption;
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return caption.isEmpty() ? QString() : widget()->toolTip();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->state() == bsDown;
        s.checkable = button()->groupIndex() != 0;
        s.checked = s.checkable && button()->isDown();
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            platform::clickAsMouse(widget(), widget()->rect().center());
    }

private:
    TFlatSpeedButton *button() const { return static_cast<TFlatSpeedButton *>(widget()); }
};

class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(TFlatPanel *panel) : QAccessibleWidget(panel, QAccessible::Pane) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return withoutMnemonic(static_cast<TFlatPanel *>(widget())->caption());
        return QAccessibleWidget::text(t);
    }
};

} // namespace

QAccessibleInterface *createButtonAccessible(TFlatSpeedButton *button)
{
    return new ButtonAccessible(button);
}

QAccessibleInterface *createPanelAccessible(TFlatPanel *panel)
{
    return new PanelAccessible(panel);
}

} // namespace flat
