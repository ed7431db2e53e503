#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPixmap>
#include <QVector>
#include <optional>

// A list of same-sized pictures with masks, drawn by index. Controls keep a
// reference to it and re-lay out when it reports a change.
class ImageList : public QObject {
    Q_OBJECT
public:
    ImageList(int width, int height, QObject *parent = nullptr);

    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return int(pictures_.size()); }

    // The alpha channel is the mask; a picture of another size is scaled.
    int Add(const QImage &image);
    // Where the mask is white the picture is transparent, as classic Windows masks are.
    int AddMasked(const QImage &image, const QImage &mask);

    // Colour under the masked parts; none leaves them transparent.
    std::optional<QColor> bkColor() const { return bkColor_; }
    void setBkColor(std::optional<QColor> color);

    // Picture `index` at its natural size with its top left at (x, y).
    void Draw(QPainter &painter, int x, int y, int index) const;

signals:
    void Changed();

private:
    int width_;
    int height_;
    QVector<QPixmap> pictures_;
    std::optional<QColor> bkColor_;
};
