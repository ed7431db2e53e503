#include "controls/sidebar/imagelist.h"

ImageList::ImageList(int width, int height, QObject *parent) : QObject(parent), width_(width), height_(height) {}

int ImageList::Add(const QImage &image)
{
    QImage picture = image.convertToFormat(QImage::Format_ARGB32);
    const qreal ratio = picture.devicePixelRatio();
    if (picture.deviceIndependentSize() != QSizeF(width_, height_)) {
        picture = picture.scaled(QSize(width_, height_) * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    pictures_.append(QPixmap::fromImage(picture));
    emit Changed();
    return count() - 1;
}

int ImageList::AddMasked(const QImage &image, const QImage &mask)
{
    QImage picture = image.convertToFormat(QImage::Format_ARGB32);
    const QImage transparent = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height() && y < transparent.height(); ++y)
        for (int x = 0; x < picture.width() && x < transparent.width(); ++x)
            if (qGray(transparent.pixel(x, y)) >= 128)
                picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    return Add(picture);
}

void ImageList::setBkColor(std::optional<QColor> color)
{
    if (color == bkColor_)
        return;
    bkColor_ = color;
    emit Changed();
}

void ImageList::Draw(QPainter &painter, int x, int y, int index) const
{
    if (index < 0 || index >= count())
        return;
    if (bkColor_)
        painter.fillRect(x, y, width_, height_, *bkColor_);
    painter.drawPixmap(x, y, pictures_[index]);
}
