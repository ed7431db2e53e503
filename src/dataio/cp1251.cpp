#include "dataio/cp1251.h"

#include "zipformat/codepages.h"

#include <QHash>

namespace dataio {

QString fromCp1251(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : bytes) {
        const auto b = uchar(byte);
        *out++ = QChar(b < 0x80 ? char16_t(b) : char16_t(zipformat::kCp1251High[b - 0x80]));
    }
    return text;
}

char cp1251Of(QChar c)
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> map;
        for (int b = 0x80; b <= 0xFF; ++b)
            map.insert(char16_t(zipformat::kCp1251High[b - 0x80]), char(b));
        map.remove(0xFFFD);
        return map;
    }();
    if (c.unicode() < 0x80)
        return char(c.unicode());
    return bytes.value(c.unicode(), 0);
}

} // namespace dataio
