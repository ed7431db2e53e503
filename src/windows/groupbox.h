#pragma once

#include <QString>
#include <QWidget>

namespace windows {

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

} // namespace windows
