#include "windows/declaredcontrols.h"

#include "controls/flat/flatspeedbutton.h"
#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/form.h"

#include <QLineEdit>
#include <algorithm>

namespace windows {

namespace {

platform::colors::Color textColour(Look look)
{
    switch (look) {
    case Look::RedBold: return platform::colors::clRed;
    case Look::TealBold: return platform::colors::clTeal;
    default: return platform::colors::clWindowText;
    }
}

} // namespace

void setDialogBorder(platform::Form &form, const QString &caption, QSize client)
{
    form.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    form.setWindowTitle(caption);
    form.setFixedSize(client);
    form.setFont(platform::defaultFont());
    form.setClosesOnEscape(true);
}

QLabel *makeLabel(QWidget *parent, const LabelDecl &decl)
{
    auto *label = new QLabel(parent);
    setUpLabel(*label, decl);
    return label;
}

void setUpLabel(QLabel &label, const LabelDecl &decl)
{
    label.setText(decl.text);
    label.setTextFormat(Qt::PlainText);
    label.setFont(platform::makeFont({.points = decl.points, .bold = decl.look != Look::Regular}));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(decl.wordWrap);
    label.setAutoFillBackground(decl.opaque);
    platform::colors::setPaletteColor(label, QPalette::WindowText, textColour(decl.look));
    platform::colors::setPaletteColor(label, QPalette::Window, platform::colors::clBtnFace);
    label.move(decl.pos);
    QSize size = decl.size.isEmpty() ? label.sizeHint() : decl.size;
    // The substitute face, or a scaled desktop's, may set a caption a pixel
    // or two wider than the box declared for the original face: the box
    // grows rather than cut the caption.
    if (!decl.wordWrap)
        size.setWidth(std::max(size.width(), label.sizeHint().width()));
    label.resize(size);
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

void labelFor(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name);
}

} // namespace windows
