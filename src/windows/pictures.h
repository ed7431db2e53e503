#pragma once

#include <QImage>
#include <QString>

namespace windows {

// An SVG resource drawn at `size` (its own size when empty) onto a
// transparent image. It is drawn for the program's device pixel ratio, so it
// stays sharp on a scaled desktop while it keeps its size in the layout.
QImage renderPicture(const QString &resource, QSize size = {});

// One of the windows' pictures ("book-add.svg" ...) at its own size.
QImage picture(const QString &name);

} // namespace windows
