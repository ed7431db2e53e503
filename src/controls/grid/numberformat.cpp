#include "controls/grid/numberformat.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <vector>

namespace grid {

namespace {

// Splits at ";" outside quotes.
QStringList sectionsOf(const QString &format)
{
    QStringList sections{QString()};
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last().append(c);
    }
    return sections;
}

// One character of a section; quoted text is literal, quotes dropped.
struct Token {
    QChar c;
    bool literal;
};

std::vector<Token> tokensOf(const QString &section)
{
    std::vector<Token> tokens;
    QChar quote;
    for (QChar c : section) {
        if (quote.isNull() && (c == u'"' || c == u'\'')) {
            quote = c;
        } else if (!quote.isNull() && c == quote) {
            quote = QChar();
        } else {
            tokens.push_back({c, !quote.isNull()});
        }
    }
    return tokens;
}

bool isDigitPlaceholder(const Token &t)
{
    return !t.literal && (t.c == u'0' || t.c == u'#');
}

// "E+", "E-", "e+", "e-" starting at token i.
bool isExponentAt(const std::vector<Token> &tokens, size_t i)
{
    return !tokens[i].literal && (tokens[i].c == u'E' || tokens[i].c == u'e') && i + 1 < tokens.size() &&
           !tokens[i + 1].literal && (tokens[i + 1].c == u'+' || tokens[i + 1].c == u'-');
}

struct SectionShape {
    int intZeros = 0;  // "0" before the decimal point
    int decZeros = 0;  // "0" after it
    int decHashes = 0; // "#" after it
    bool hasDigits = false;
    bool thousands = false;
    bool scientific = false;
    int expDigits = 0;
};

SectionShape shapeOf(const std::vector<Token> &tokens)
{
    SectionShape shape;
    bool afterPoint = false, inExponent = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.literal)
            continue;
        if (inExponent && t.c == u'0') {
            ++shape.expDigits;
        } else if (isDigitPlaceholder(t)) {
            shape.hasDigits = true;
            if (!afterPoint)
                shape.intZeros += t.c == u'0';
            else if (t.c == u'0')
                ++shape.decZeros;
            else
                ++shape.decHashes;
        } else if (t.c == u'.') {
            afterPoint = true;
        } else if (t.c == u',') {
            shape.thousands = true;
        } else if (isExponentAt(tokens, i)) {
            shape.scientific = inExponent = true;
            ++i;
        }
    }
    return shape;
}

QString groupThousands(const QString &digits)
{
    QString sep = QLocale().groupSeparator();
    QString out;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return out;
}

// Integer digits and decimals of |value| as the shape asks.
struct Digits {
    QString integer, decimals, exponent;
    bool negativeExponent = false;
};

Digits digitsOf(double value, const SectionShape &shape)
{
    Digits d;
    int maxDecimals = shape.decZeros + shape.decHashes;
    double magnitude = std::fabs(value);
    int exponent = 0;
    if (shape.scientific && magnitude != 0) {
        exponent = static_cast<int>(std::floor(std::log10(magnitude))) - std::max(shape.intZeros, 1) + 1;
        magnitude /= std::pow(10.0, exponent);
    }
    QString fixed = QString::number(magnitude, 'f', maxDecimals);
    int point = fixed.indexOf(u'.');
    d.integer = point < 0 ? fixed : fixed.left(point);
    d.decimals = point < 0 ? QString() : fixed.mid(point + 1);
    while (d.decimals.size() > shape.decZeros && d.decimals.endsWith(u'0'))
        d.decimals.chop(1);
    while (d.integer.size() > 1 && d.integer.startsWith(u'0') && d.integer.size() > shape.intZeros)
        d.integer.remove(0, 1);
    if (d.integer == u"0" && shape.intZeros == 0)
        d.integer.clear();
    d.integer = d.integer.rightJustified(shape.intZeros, u'0');
    if (shape.thousands)
        d.integer = groupThousands(d.integer);
    d.negativeExponent = exponent < 0;
    if (shape.scientific)
        d.exponent = QString::number(std::abs(exponent)).rightJustified(std::max(shape.expDigits, 1), u'0');
    return d;
}

QString applySection(const QString &section, double value, bool minus)
{
    const std::vector<Token> tokens = tokensOf(section);
    const SectionShape shape = shapeOf(tokens);
    QString out = minus ? QStringLiteral("-") : QString();
    if (!shape.hasDigits) {
        for (const Token &t : tokens)
            out += t.c;
        return out;
    }
    const Digits digits = digitsOf(value, shape);
    bool integerWritten = false, afterPoint = false, inExponent = false;
    int decimalIndex = 0;
    auto writeInteger = [&] {
        if (!integerWritten)
            out += digits.integer;
        integerWritten = true;
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.literal) {
            out += t.c;
        } else if (isDigitPlaceholder(t)) {
            if (inExponent)
                continue;
            if (!afterPoint)
                writeInteger();
            else if (decimalIndex < digits.decimals.size())
                out += digits.decimals[decimalIndex++];
        } else if (t.c == u'.') {
            writeInteger();
            afterPoint = true;
            if (!digits.decimals.isEmpty())
                out += QLocale().decimalPoint();
        } else if (t.c == u',') {
            continue;
        } else if (isExponentAt(tokens, i)) {
            out += t.c;
            if (tokens[i + 1].c == u'+' || digits.negativeExponent)
                out += digits.negativeExponent ? u'-' : u'+';
            out += digits.exponent;
            inExponent = true;
            ++i;
        } else {
            out += t.c;
        }
    }
    return out;
}

} // namespace

QString formatGeneral(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    QString s = QString::number(value, 'g', 15);
    return s.replace(u'.', QLocale().decimalPoint());
}

QString formatFloat(const QString &format, double value)
{
    if (format.isEmpty())
        return formatGeneral(value);
    QStringList sections = sectionsOf(format);
    auto usable = [&](int i) { return i < sections.size() && !sections[i].isEmpty(); };
    if (value < 0 && usable(1))
        return applySection(sections[1], value, false);
    if (value == 0 && usable(2))
        return applySection(sections[2], value, false);
    return applySection(sections[0], value, value < 0);
}

} // namespace grid
