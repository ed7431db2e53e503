#pragma once

#include <QWidget>

namespace windows {

// A panel with a raised inner and a lowered outer bevel, one pixel each.
class BevelPanel : public QWidget {
    Q_OBJECT
public:
    BevelPanel(QWidget *parent, const QRect &geometry);

    int Tag = 0; // free for the window's own use

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace windows
