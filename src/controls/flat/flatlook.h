#pragma once

#include "platform/colors.h"
#include <QString>
#include <QWidget>

// The properties every flat control shares: hover lighting, the thin idle
// border and its colour. Setters repaint the owning widget only on change.
class FlatLook {
public:
    bool activate() const { return activate_; }
    void setActivate(bool value) { assign(activate_, value); }
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const platform::colors::Color &value);
    bool isFlat() const { return flat_; }
    void setFlat(bool value) { assign(flat_, value); }
    bool showBorder() const { return showBorder_; }
    void setShowBorder(bool value) { assign(showBorder_, value); }
    QString version() const { return QStringLiteral("1.26"); }
    void setVersion(const QString &) {}

protected:
    explicit FlatLook(QWidget &owner);

    template <typename T> void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        owner_.update();
    }

private:
    QWidget &owner_;
    bool activate_ = true;
    platform::colors::Color borderColor_;
    bool flat_ = true;
    bool showBorder_ = true;
};
