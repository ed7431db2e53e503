#include "windows/declaredcontrols.h"

#include "controls/flat/flatspeedbutton.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/drawing.h"
#include "platform/errorreport.h"
#include "platform/fonts.h"
#include "platform/form.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace windows {

namespace {

QColor textColour(Look look)
{
    switch (look) {
    case Look::RedBold: return platform::colors::clRed;
    case Look::TealBold: return platform::colors::clTeal;
    default: return platform::colors::clWindowText;
    }
}

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget *control, std::function<void()> handler) : QObject(control), handler_(std::move(handler))
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            pressed_ = true;
        else if (event->type() == QEvent::MouseButtonRelease && pressed_) {
            pressed_ = false;
            if (control->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                platform::runGuarded(handler_);
        }
        return false;
    }

private:
    std::function<void()> handler_;
    bool pressed_ = false;
};

} // namespace

void setDialogBorder(platform::Form &form, const QString &caption, QSize client)
{
    form.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    form.setWindowTitle(caption);
    form.setFixedSize(client);
    form.setFont(platform::defaultFont());
}

QLabel *makeLabel(QWidget *parent, const LabelDecl &decl)
{
    auto *label = new QLabel(decl.text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(platform::makeFont({.points = decl.points, .bold = decl.look != Look::Regular}));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(decl.wordWrap);
    label->setAutoFillBackground(decl.opaque);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour(decl.look));
    palette.setColor(QPalette::Window, platform::colors::clBtnFace);
    label->setPalette(palette);
    label->move(decl.pos);
    QSize size = decl.size.isEmpty() ? label->sizeHint() : decl.size;
    // The substitute face, or a scaled desktop's, may set a caption a pixel
    // or two wider than the box declared for the original face: the box
    // grows rather than cut the caption.
    if (!decl.wordWrap)
        size.setWidth(std::max(size.width(), label->sizeHint().width()));
    label->resize(size);
    return label;
}

QLineEdit *makeEdit(QWidget *parent, const QRect &geometry)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

TFlatSpeedButton *makeFlatButton(QWidget *parent, const QRect &geometry, const QString &caption, const QString &hint)
{
    auto *button = new TFlatSpeedButton(parent);
    button->setGeometry(geometry);
    button->setFlat(true);
    button->setActivate(true);
    button->setBorderColor(platform::colors::clBtnShadow);
    button->setShowBorder(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(platform::boldFont());
    button->setCaption(caption);
    button->setToolTip(hint);
    return button;
}

void deleteControls(QWidget &form)
{
    qDeleteAll(form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
}

void setClickHandler(TFlatSpeedButton *button, std::function<void()> handler)
{
    button->OnClick = [handler = std::move(handler)](TFlatSpeedButton &) { platform::runGuarded(handler); };
}

void setClickHandler(QWidget *control, std::function<void()> handler)
{
    new ClickFilter(control, std::move(handler));
}

void labelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name);
}

BevelPanel::BevelPanel(QWidget *parent, const QRect &geometry) : QWidget(parent)
{
    platform::registerAccessible<BevelPanel>(
        [](BevelPanel *panel) -> QAccessibleInterface * { return new QAccessibleWidget(panel, QAccessible::Pane); });
    setGeometry(geometry);
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    const Rect outer = Rect::fromQRect(rect());
    const Rect inner = drawEdge(p, outer, BDR_SUNKENOUTER);
    drawEdge(p, inner, BDR_RAISEDINNER);
}

GroupBox::GroupBox(QWidget *parent, const QRect &geometry, const QString &caption) : QWidget(parent), caption_(caption)
{
    platform::registerAccessible<GroupBox>(
        [](GroupBox *box) -> QAccessibleInterface * { return new QAccessibleWidget(box, QAccessible::Grouping); });
    setGeometry(geometry);
    setAccessibleName(caption.trimmed());
}

void GroupBox::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    p.setFont(font());
    const int top = textHeight(font()) / 2;
    drawEdge(p, Rect{0, top, width(), height()}, EDGE_ETCHED);
    Rect captionRect{8, 0, 8 + textWidth(font(), caption_), textHeight(font())};
    fillRect(p, captionRect, colors::clBtnFace);
    p.setPen(colors::clWindowText);
    drawText(p, caption_, captionRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

TopLineBevel::TopLineBevel(QWidget *parent, const QRect &geometry) : QWidget(parent)
{
    setGeometry(geometry);
}

void TopLineBevel::paintEvent(QPaintEvent *)
{
    using namespace platform;
    QPainter p(this);
    drawLine(p, {0, 0}, {width(), 0}, colors::clBtnShadow);
    drawLine(p, {0, 1}, {width(), 1}, colors::clBtnHighlight);
}

} // namespace windows
