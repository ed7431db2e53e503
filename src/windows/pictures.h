#pragma once

#include <QImage>
#include <QString>

namespace windows {

// One of the windows' pictures ("book-add.svg" ...) drawn at its own size
// onto a transparent image.
QImage picture(const QString &name);

} // namespace windows
