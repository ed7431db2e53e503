#include "windows/pictures.h"

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

QImage picture(const QString &name)
{
    registerPictures();
    QSvgRenderer renderer(QStringLiteral(":/pictures/") + name);
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace windows
