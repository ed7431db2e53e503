#include "dataio/fieldtext.h"

#include <QByteArray>

namespace dataio {

namespace {
bool isAsciiSpace(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
} // namespace

bool appendTidyUtf8(QByteArrayView utf8, bool upper, std::string &out)
{
    const std::size_t start = out.size();
    // Neither rule lengthens a text of these characters.
    out.resize(start + std::size_t(utf8.size()));
    char *const first = out.data() + start;
    char *to = first;
    const auto *from = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *const end = from + utf8.size();
    bool space = false; // white space seen after some text
    while (from < end) {
        unsigned char lead = *from;
        if (lead < 0x80) {
            ++from;
            if (isAsciiSpace(lead)) {
                space = to != first;
                continue;
            }
            if (space)
                *to++ = ' ';
            space = false;
            *to++ = char(upper && lead >= 'a' && lead <= 'z' ? lead - ('a' - 'A') : lead);
            continue;
        }
        // U+0400 to U+043F are D0 80..BF, U+0440 to U+045F are D1 80..9F.
        const bool cyrillic =
            end - from >= 2 && (from[1] & 0xC0) == 0x80 && (lead == 0xD0 || (lead == 0xD1 && from[1] < 0xA0));
        if (!cyrillic) {
            out.resize(start);
            return false;
        }
        unsigned char trail = from[1];
        from += 2;
        if (space)
            *to++ = ' ';
        space = false;
        if (upper && lead == 0xD0 && trail >= 0xB0) { // а..п
            trail -= 0x20;
        } else if (upper && lead == 0xD1) { // р..я, then ѐ..џ
            lead = 0xD0;
            trail = trail < 0x90 ? trail + 0x20 : trail - 0x10;
        }
        *to++ = char(lead);
        *to++ = char(trail);
    }
    out.resize(start + std::size_t(to - first));
    return true;
}

void appendTidy(QString text, bool upper, std::string &out)
{
    text = std::move(text).simplified();
    if (upper)
        text = std::move(text).toUpper();
    const QByteArray utf8 = text.toUtf8();
    out.append(utf8.constData(), std::size_t(utf8.size()));
}

} // namespace dataio
