#pragma once

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

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

// Fixed dialog border with the close box only, the declared client size,
// caption and window font.
void setDialogBorder(platform::Form &form, const QString &caption, QSize client);

QLabel *makeLabel(QWidget *parent, const LabelDecl &decl);
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

// Runs `handler` as an event handler: an engine error stops it and goes to
// the default error report instead of unwinding through Qt.
void setClickHandler(TFlatSpeedButton *button, std::function<void()> handler);
// A click (left button pressed and released over it) on any widget.
void setClickHandler(QWidget *control, std::function<void()> handler);

// A panel with a raised inner and a lowered outer bevel, one pixel each.
class BevelPanel : public QWidget {
    Q_OBJECT
public:
    BevelPanel(QWidget *parent, const QRect &geometry);

    int Tag = 0; // free for the window's own use

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A group box: an etched frame whose top runs through the middle of the
// caption, the caption drawn 8 pixels in from the left.
class GroupBox : public QWidget {
    Q_OBJECT
public:
    GroupBox(QWidget *parent, const QRect &geometry, const QString &caption);
    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString caption_;
};

// An engraved horizontal line along the top of its box.
class TopLineBevel : public QWidget {
    Q_OBJECT
public:
    TopLineBevel(QWidget *parent, const QRect &geometry);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace windows
