#pragma once

#include <QByteArrayView>
#include <QString>

namespace dataio {

// Windows Cyrillic, code page 1251, the encoding older Russian software writes.
QString fromCp1251(QByteArrayView bytes);
// The byte for a character, 0 when the code page has none.
char cp1251Of(QChar c);

} // namespace dataio
