#include "archive/ezipextractor.h"

#include "archive/zipmessagetable.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The message table's text for the id with the arguments, else the
// untranslated fallback form.
std::string messageOf(const EZipExtractor &e, const QString &fallback)
{
    const QString table = messageTableText(e.id());
    return (table.isEmpty() ? fallback : e.formatted(table)).toStdString();
}

} // namespace

EZipExtractor::EZipExtractor(int id, bool display) : std::runtime_error(std::string()), display_(display), id_(id)
{
    message_ = messageOf(*this, QStringLiteral("ZipExtractor [ %1 ]").arg(id));
}

EZipExtractor::EZipExtractor(int id, int number)
    : std::runtime_error(std::string()), display_(true), id_(id), number_(QString::number(number))
{
    message_ = messageOf(*this, QStringLiteral("ZipExtractor [ %1 ] ,%2").arg(id).arg(number));
}

EZipExtractor::EZipExtractor(int id, const QString &text)
    : std::runtime_error(std::string()), display_(true), id_(id), text_(text)
{
    message_ = messageOf(*this, QStringLiteral("ZipExtractor [ %1 ], %2").arg(id).arg(text));
}

QString EZipExtractor::formatted(QString text) const
{
    QStringList args;
    if (!text_.isEmpty())
        args << text_;
    if (!number_.isEmpty())
        args << number_;
    for (const QString &arg : args) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("%[sd]")));
        if (at < 0)
            break;
        text.replace(at, 2, arg);
    }
    return text;
}
