#include "app/menuimages.h"

#include "controls/sidebar/imagelist.h"
#include "windows/pictures.h"

#include <QImage>

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
    ":/pictures/menu-house.svg",         ":/pictures/menu-envelope.svg",  ":/pictures/menu-phone-book.svg",
    ":/pictures/menu-dialing-codes.svg", ":/pictures/menu-help.svg",      ":/pictures/menu-about.svg",
    ":/pictures/menu-emergency.svg",     ":/pictures/menu-magnifier.svg", ":/pictures/menu-gear.svg",
};

} // namespace

ImageList *createLargeImages(QObject *owner)
{
    registerPictures();
    auto *list = new ImageList(PictureSize, PictureSize, owner);
    for (const char *picture : LargePictures)
        list->Add(windows::renderPicture(QString::fromLatin1(picture), {PictureSize, PictureSize}));
    return list;
}

QIcon programIcon()
{
    registerPictures();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(
            QPixmap::fromImage(windows::renderPicture(QStringLiteral(":/pictures/app-icon.svg"), {size, size})));
    return icon;
}

} // namespace menuimages
