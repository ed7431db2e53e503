#pragma once

#include "controls/flat/flatlook.h"

#include "platform/colors.h"
#include <QString>
#include <QWidget>

// A container whose border is a flat two-pixel frame instead of bevels; it
// can light up under the pointer or while it has the focus.
class TFlatPanel : public QWidget, public FlatLook {
    Q_OBJECT
    Q_PROPERTY(bool Activate READ activate WRITE setActivate)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(bool ShowBorder READ showBorder WRITE setShowBorder)
    Q_PROPERTY(QString Version READ version WRITE setVersion)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
public:
    explicit TFlatPanel(QWidget *parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString &value);
    QColor color() const { return color_; }
    void setColor(const platform::colors::Color &value);

    bool isHovered() const { return hover_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setHover(bool value);

    QString caption_;
    platform::colors::Color color_;
    bool hover_ = false;
};
