#pragma once

#include "controls/flat/flatlook.h"

#include <QColor>
#include <QString>
#include <QWidget>

// A container whose border is a flat two-pixel frame instead of bevels; it
// can light up under the pointer or while it has the focus.
class TFlatPanel : public QWidget, public FlatLook {
public:
    explicit TFlatPanel(QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString &value);
    QColor Color() const { return color_; }
    void setColor(const QColor &value);

    bool hovered() const { return hover_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHover(bool value);

    QString caption_;
    QColor color_;
    bool hover_ = false;
};
