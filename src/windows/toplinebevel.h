#pragma once

#include <QWidget>

namespace windows {

// An engraved horizontal line along the top of its box.
class TopLineBevel : public QWidget {
    Q_OBJECT
public:
    TopLineBevel(QWidget *parent, const QRect &geometry);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace windows
