#pragma once

#include "controls/combo/editbuttonface.h"

#include <QImage>
#include <QWidget>

#include <functional>

// The drop-down button inside the edit. It only draws itself and reports the
// mouse; the edit decides what a press, a drag and a release mean.
class TEditButtonControlEx : public QWidget {
    Q_OBJECT
public:
    explicit TEditButtonControlEx(QWidget *edit);

    // Held down while the list is open, whatever the mouse does.
    void setHeld(bool held);
    void setFace(combo::TEditButtonStyleEx style, const QImage &glyph);
    bool looksPressed() const { return held_ || mouseDown_; }

    // `top`: the press was on the upper half.
    std::function<void(bool top)> OnPress;
    std::function<void(QPoint global)> OnDrag;
    std::function<void(QPoint global, bool overButton)> OnRelease;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    combo::TEditButtonStyleEx style_ = combo::ebsDropDownEx;
    QImage glyph_;
    bool held_ = false;
    bool mouseDown_ = false;
};
