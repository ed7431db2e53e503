#include "pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

// Resources linked from a static library stay out of the program unless
// they are registered by hand.
static void registerPictures()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)done;
}

namespace windows {

QImage renderPicture(const QString &resource, QSize size)
{
    QSvgRenderer renderer(resource);
    const qreal ratio = qApp->devicePixelRatio();
    QImage image((size.isEmpty() ? renderer.defaultSize() : size) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), image.deviceIndependentSize()));
    return image;
}

QImage picture(const QString &name)
{
    registerPictures();
    return renderPicture(QStringLiteral(":/pictures/") + name);
}

} // namespace windows
