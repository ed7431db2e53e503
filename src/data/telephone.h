#pragma once

#include <QRegularExpression>
#include <QString>

namespace data {

// A telephone number without the spaces, dashes, dots and brackets people
// write in it: the form a number too long for its field is stored in, by the
// editor and by the data tool's import alike.
inline QString withoutSeparators(QString number)
{
    static const QRegularExpression separators(QStringLiteral("[ ().\\-]"));
    return number.remove(separators);
}

} // namespace data
