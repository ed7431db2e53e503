#pragma once

#include <QIcon>

class ImageList;
class QObject;

namespace menuimages {

// The side menu's 32 x 32 image list `imgLarge`: nine pictures, of which the
// menu shows indexes 2 to 6.
ImageList *createLargeImages(QObject *owner);
QIcon programIcon();

} // namespace menuimages
