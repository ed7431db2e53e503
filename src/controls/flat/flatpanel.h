#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A container whose border is a flat two-pixel frame instead of bevels; it
// can light up under the pointer or while it has the focus.
class TFlatPanel : public QWidget {
public:
    explicit TFlatPanel(QWidget *parent = nullptr);

    bool Activate() const { return activate_; }
    void setActivate(bool value);
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor &value);
    bool Flat() const { return flat_; }
    void setFlat(bool value);
    bool ShowBorder() const { return showBorder_; }
    void setShowBorder(bool value);
    QString Version() const { return QStringLiteral("1.26"); }
    void setVersion(const QString &) {}
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
    template <typename T> void assign(T &field, const T &value);
    void setHover(bool value);

    bool activate_ = true;
    QColor borderColor_;
    bool flat_ = true;
    bool showBorder_ = true;
    QString caption_;
    QColor color_;
    bool hover_ = false;
};
