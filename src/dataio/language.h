#pragma once

#include <QString>

namespace dataio {

// The data tool speaks Russian to a Russian locale and English otherwise;
// every message is written in both.
enum class Language { Russian, English };

Language language();
void setLanguage(Language language);

// The text in the current language.
QString say(const char *russian, const char *english);

} // namespace dataio
