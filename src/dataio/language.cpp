#include "dataio/language.h"

#include <QLocale>

namespace dataio {

namespace {
Language &current()
{
    static Language language = QLocale::system().language() == QLocale::Russian ? Language::Russian : Language::English;
    return language;
}
} // namespace

Language language()
{
    return current();
}

void setLanguage(Language language)
{
    current() = language;
}

QString say(const char *russian, const char *english)
{
    return QString::fromUtf8(current() == Language::Russian ? russian : english);
}

} // namespace dataio
