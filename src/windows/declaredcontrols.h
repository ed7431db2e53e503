#pragma once

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

class QLineEdit;
class TFlatSpeedButton;

namespace platform {
class Form;
}

// Building blocks of the windows' declared layouts: each window lists its
// controls as constants and builds them with these.
namespace windows {

enum class Look { Regular, Bold, RedBold, TealBold };

struct LabelDecl {
    QPoint pos;
    QString text;
    Look look = Look::Regular;
    QSize size = {};     // empty: the label takes the size of its text
    bool opaque = false; // fills its box with the window colour
    bool wordWrap = false;
    int points = 8;
};

// Fixed dialog border with the close box only (Escape closes as it does),
// the declared client size, caption and window font.
void setDialogBorder(platform::Form &form, const QString &caption, QSize client);

QLabel *makeLabel(QWidget *parent, const LabelDecl &decl);
// Gives a label of another kind the declared look.
void setUpLabel(QLabel &label, const LabelDecl &decl);
// Makes `label` the one that names `control` to assistive technology, as it
// names it on the screen; a trailing colon is not read.
void labelFor(QLabel *label, QWidget *control);
QLineEdit *makeEdit(QWidget *parent, const QRect &geometry);
// A flat command button as every window declares it: flat, lighting up,
// shadow-coloured border shown, hand-point cursor, bold caption.
TFlatSpeedButton *makeFlatButton(QWidget *parent, const QRect &geometry, const QString &caption = {},
                                 const QString &hint = {});

// Deletes the form's controls while the datasets they show still exist.
void deleteControls(QWidget &form);

} // namespace windows
