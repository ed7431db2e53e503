#include "app/menuimages.h"

#include "controls/sidebar/imagelist.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library must be registered by hand.
static void registerPictures()
{
    Q_INIT_RESOURCE(app);
}

namespace menuimages {

namespace {

constexpr int PictureSize = 32;

// In image-list order.
const char *const LargePictures[] = {
    ":/pictures/menu-house.svg",    ":/pictures/menu-envelope.svg",  ":/pictures/menu-phone-book.svg",
    ":/pictures/menu-dialing-codes.svg", ":/pictures/menu-help.svg", ":/pictures/menu-about.svg",
    ":/pictures/menu-emergency.svg", ":/pictures/menu-magnifier.svg", ":/pictures/menu-gear.svg",
};

QImage render(const QString &resource, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

ImageList *createLargeImages(QObject *owner)
{
    registerPictures();
    auto *list = new ImageList(PictureSize, PictureSize, owner);
    for (const char *picture : LargePictures)
        list->Add(render(QString::fromLatin1(picture), {PictureSize, PictureSize}));
    return list;
}

QIcon programIcon()
{
    registerPictures();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(render(QStringLiteral(":/pictures/app-icon.svg"), {size, size})));
    return icon;
}

} // namespace menuimages
