#pragma once

#include <QLabel>
#include <functional>

namespace windows {

// A label that takes clicks: the left button pressed and released over it.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    std::function<void(ClickableLabel &sender)> OnClick;
    // Runs OnClick as a click by the mouse does.
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

} // namespace windows
