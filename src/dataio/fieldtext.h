#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>

namespace dataio {

// A field's text in the form the tables keep it, appended to out in UTF-8:
// white space trimmed and every run of it made one space, upper case for the
// searched columns. The result is always QString's simplified() and
// toUpper() of the text.

// Straight from UTF-8 bytes, for the characters that make up nearly every
// directory (ASCII and basic Cyrillic, U+0400 to U+045F), where both rules
// are byte rules. False, with nothing appended, for any other byte.
bool appendTidyUtf8(QByteArrayView utf8, bool upper, std::string &out);

// Through QString, for any text.
void appendTidy(QString text, bool upper, std::string &out);

} // namespace dataio
