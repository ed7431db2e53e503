#include "dataio/vcard.h"

#include "dataio/cp1251.h"
#include "dataio/language.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace dataio {

namespace {

struct Property {
    int line = 0;
    QByteArray name;                             // upper case, group removed
    QList<QPair<QByteArray, QByteArray>> params; // names upper case, values unquoted
    QByteArray value;

    bool has(const QByteArray &param, const QByteArray &value) const
    {
        for (const auto &[name, values] : params) {
            if (name == param && values.toUpper().split(',').contains(value))
                return true;
        }
        return false;
    }
    QByteArray param(const QByteArray &wanted) const
    {
        for (const auto &[name, value] : params) {
            if (name == wanted)
                return value;
        }
        return {};
    }
    // Lower is preferred: PREF=1 to 100 (4.0); TYPE=pref or a bare PREF (3.0,
    // 2.1) is 1; a property without either is not preferred at all.
    int preference() const
    {
        if (const QByteArray pref = param("PREF"); !pref.isEmpty()) {
            bool ok = false;
            const int rank = pref.toInt(&ok);
            return ok ? std::clamp(rank, 1, 100) : 1;
        }
        return has("TYPE", "PREF") ? 1 : kNotPreferred;
    }
    static constexpr int kNotPreferred = 101;
};

// Splits at a character outside double quotes.
QList<QByteArray> splitOutsideQuotes(const QByteArray &text, char separator)
{
    QList<QByteArray> parts{{}};
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted)
            parts.append(QByteArray());
        else
            parts.last().append(c);
    }
    return parts;
}

bool isQuotedPrintable(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Logical lines with the line each starts on: folded lines joined, and
// quoted-printable soft line breaks ("=" at the end) joined too.
QList<QPair<int, QByteArray>> logicalLines(const QByteArray &bytes)
{
    QList<QPair<int, QByteArray>> lines;
    int number = 0;
    const bool marked = bytes.startsWith("\xEF\xBB\xBF"); // a UTF-8 byte order mark
    for (QByteArray line : (marked ? bytes.mid(3) : bytes).split('\n')) {
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t'))) {
            lines.last().second += line.mid(1);
        } else if (!lines.isEmpty() && lines.last().second.endsWith('=') && isQuotedPrintable(lines.last().second)) {
            lines.last().second.chop(1);
            lines.last().second += line;
        } else if (!line.isEmpty()) {
            lines.append({number, line});
        }
    }
    return lines;
}

std::optional<Property> parseProperty(int line, const QByteArray &text)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < text.size() && colon < 0; ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ':' && !quoted)
            colon = i;
    }
    if (colon < 0)
        return std::nullopt;
    Property property;
    property.line = line;
    property.value = text.mid(colon + 1);
    const QList<QByteArray> head = splitOutsideQuotes(text.left(colon), ';');
    property.name = head[0].mid(head[0].lastIndexOf('.') + 1).trimmed().toUpper();
    for (const QByteArray &param : head.mid(1)) {
        const qsizetype equals = param.indexOf('=');
        QByteArray name = equals < 0 ? QByteArray() : param.left(equals).trimmed().toUpper();
        QByteArray value = (equals < 0 ? param : param.mid(equals + 1)).trimmed();
        if (value.startsWith('"') && value.endsWith('"') && value.size() >= 2)
            value = value.mid(1, value.size() - 2);
        if (name.isEmpty()) { // 2.1 writes bare values: "TEL;CELL;PREF:", ";QUOTED-PRINTABLE:"
            const QByteArray upper = value.toUpper();
            name = upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "8BIT" ? "ENCODING" : "TYPE";
        }
        property.params.append({name, value});
    }
    return property;
}

QByteArray fromQuotedPrintable(const QByteArray &text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        const int byte = text[i] == '=' && i + 2 < text.size() ? text.mid(i + 1, 2).toInt(&ok, 16) : 0;
        if (ok) {
            bytes.append(char(byte));
            i += 2;
        } else {
            bytes.append(text[i]);
        }
    }
    return bytes;
}

// At most 40 characters of a file's text for a message, control characters
// shown as "?" so that they cannot act on a terminal.
QString shown(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.left(160)).left(40);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = u'?';
    }
    return text;
}

// Text that goes out to a UTF-8 file and comes back the same, so that an
// export writes what the import took: a decoder may pass on a lone
// surrogate, which UTF-8 cannot hold, and it becomes the replacement
// character; byte order marks (a decoder drops only a leading one) carry
// nothing in a name, number or address.
QString portable(QString text)
{
    text.remove(QChar::ByteOrderMark);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// The value's bytes after its transfer encoding, as text in its charset (any
// that Qt decodes). Text that names no charset, or one unknown (noted with
// its line), and is not UTF-8 is taken as code page 1251, as older Russian
// phones wrote it.
QString decodedValue(const Property &property, QList<Problem> &notes)
{
    const QByteArray encoding = property.param("ENCODING").toUpper();
    QByteArray bytes = property.value;
    if (encoding == "QUOTED-PRINTABLE")
        bytes = fromQuotedPrintable(bytes);
    else if (encoding == "B" || encoding == "BASE64")
        bytes = QByteArray::fromBase64(bytes);
    if (const QByteArray charset = property.param("CHARSET"); !charset.isEmpty()) {
        QStringDecoder named(charset.constData());
        if (named.isValid()) {
            const QString text = named.decode(bytes);
            if (!named.hasError())
                return text;
        } else {
            notes.append({property.line, say("неизвестная кодировка \"%1\": текст прочитан как UTF-8 или cp1251",
                                             "unknown charset \"%1\": the text was read as UTF-8 or cp1251")
                                             .arg(shown(charset))});
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromCp1251(bytes) : text;
}

// Components split at unescaped semicolons, each unescaped; 2.1 escapes only
// the semicolon.
QStringList components(const QString &value, bool modern)
{
    QStringList parts{{}};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u';' || (modern && (next == u',' || next == u'\\'))) {
                parts.last().append(next);
                ++i;
                continue;
            }
            if (modern && (next == u'n' || next == u'N')) {
                parts.last().append(u' ');
                ++i;
                continue;
            }
        }
        if (c == u';')
            parts.append(QString());
        else
            parts.last().append(c);
    }
    for (QString &part : parts)
        part = part.simplified();
    return parts;
}

QString joined(const QStringList &parts, const QString &separator)
{
    QStringList present;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            present.append(part);
    }
    return present.join(separator);
}

// A property taken into the entry, its text split into components.
struct Value {
    const Property *property;
    QStringList parts;
};

// The most preferred value of that name (the first of equals), else
// (homeFirst) the first of type home, else the first; notes how many others
// are left out.
const Value *chosen(const QList<Value> &values, const QByteArray &name, int &others, bool homeFirst = false)
{
    const Value *first = nullptr;
    const Value *home = nullptr;
    const Value *preferred = nullptr;
    int best = Property::kNotPreferred;
    others = 0;
    for (const Value &value : values) {
        if (value.property->name != name)
            continue;
        others += first != nullptr;
        if (!first)
            first = &value;
        if (!home && homeFirst && value.property->has("TYPE", "HOME"))
            home = &value;
        if (const int rank = value.property->preference(); rank < best) {
            preferred = &value;
            best = rank;
        }
    }
    return preferred ? preferred : home ? home : first;
}

BookEntry entryOf(int line, const QList<Property> &properties)
{
    static const QList<QByteArray> taken = {"FN", "N", "ORG", "ADR", "TEL", "EMAIL"};
    bool modern = false;
    for (const Property &property : properties) {
        if (property.name == "VERSION")
            modern = !property.value.trimmed().startsWith("2.");
    }
    BookEntry entry;
    entry.line = line;
    QList<Value> values;
    for (const Property &property : properties) {
        if (!taken.contains(property.name))
            continue;
        QStringList parts = components(portable(decodedValue(property, entry.notes)), modern);
        if (!joined(parts, QString()).isEmpty()) // an empty value never counts
            values.append({&property, std::move(parts)});
    }
    int others = 0;
    const auto text = [&](const QByteArray &name, bool homeFirst = false) {
        const Value *value = chosen(values, name, others, homeFirst);
        return value ? value->parts : QStringList{QString()};
    };
    const auto noteOthers = [&](const char *russian, const char *english) {
        if (others > 0)
            entry.notes.append({line, say(russian, english).arg(others)});
    };
    QString name = text("FN").join(u';').simplified();
    if (name.isEmpty()) {
        const QStringList n = text("N");
        name = joined({n.value(0), n.value(1), n.value(2)}, QStringLiteral(" "));
    }
    if (name.isEmpty())
        name = text("ORG").value(0);
    const QString address = joined(text("ADR", true), QStringLiteral(", "));
    noteOthers("ещё адресов не перенесено: %1", "%1 more addresses not taken");
    // A URI gives the number or address after its scheme; a value typed as
    // text is taken as it stands, so that "tel:" written as text survives.
    const auto single = [&](const QByteArray &name, const char *russian, const char *english) {
        const Value *chosenValue = chosen(values, name, others);
        QString value = chosenValue ? chosenValue->parts.join(u';') : QString();
        if (chosenValue && !chosenValue->property->has("VALUE", "TEXT") &&
            (value.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive) ||
             value.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)))
            value = value.mid(value.indexOf(u':') + 1).trimmed();
        noteOthers(russian, english);
        return value;
    };
    const QString tel = single("TEL", "ещё номеров не перенесено: %1", "%1 more numbers not taken");
    const QString mail = single("EMAIL", "ещё адресов e-mail не перенесено: %1", "%1 more e-mail addresses not taken");
    entry.values = {name, address, tel, mail};
    if (name.isEmpty())
        entry.problem = say("у карточки нет имени", "the card has no name");
    return entry;
}

QByteArray escaped(const QString &text)
{
    QString value = text;
    value.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u',', QStringLiteral("\\,"))
        .replace(u';', QStringLiteral("\\;"));
    value.replace(u'\n', QStringLiteral("\\n"));
    return value.toUtf8();
}

// Lines longer than 75 octets folded between UTF-8 characters.
void appendFolded(QByteArray &out, const QByteArray &line)
{
    qsizetype start = 0;
    qsizetype limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while ((uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74;
    }
    out += line.mid(start) + "\r\n";
}

} // namespace

QList<BookEntry> readVCards(const QByteArray &bytes)
{
    QList<BookEntry> entries;
    const auto fault = [&](int line, const QString &problem) { entries.append({line, {}, {}, problem}); };
    const auto unclosed = [&](int line) {
        fault(line, say("карточка не закрыта (нет END:VCARD)", "the card is not closed (no END:VCARD)"));
    };
    int cardLine = 0;   // 0 outside a card
    bool stray = false; // in a run of lines outside any card, reported at its first
    QList<Property> properties;
    for (const auto &[line, text] : logicalLines(bytes)) {
        const std::optional<Property> property = parseProperty(line, text);
        const bool card = property && property->value.trimmed().toUpper() == "VCARD";
        if (card && property->name == "BEGIN") {
            if (cardLine)
                unclosed(cardLine);
            cardLine = line;
            stray = false;
            properties.clear();
        } else if (card && property->name == "END" && cardLine) {
            entries.append(entryOf(cardLine, properties));
            cardLine = 0;
        } else if (cardLine) {
            if (property)
                properties.append(*property);
        } else if (!stray) {
            stray = true;
            fault(line, say("файл не vCard: \"%1\" стоит вне карточки BEGIN:VCARD … END:VCARD",
                            "not a valid vCard: \"%1\" stands outside a BEGIN:VCARD … END:VCARD card")
                            .arg(shown(text)));
        }
    }
    if (cardLine)
        unclosed(cardLine);
    return entries;
}

QByteArray vCardsOf(const QList<QStringList> &records)
{
    QByteArray out;
    for (const QStringList &record : records) {
        const QString &fio = record.value(0);
        const QStringList words = fio.split(u' ', Qt::SkipEmptyParts);
        out += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
        appendFolded(out, "FN:" + escaped(fio));
        appendFolded(out, "N:" + escaped(words.value(0)) + ';' + escaped(words.value(1)) + ';' +
                              escaped(words.mid(2).join(u' ')) + ";;");
        if (!record.value(1).isEmpty())
            appendFolded(out, "ADR:;;" + escaped(record.value(1)) + ";;;;");
        if (!record.value(2).isEmpty())
            appendFolded(out, "TEL;VALUE=text:" + escaped(record.value(2)));
        if (!record.value(3).isEmpty())
            appendFolded(out, "EMAIL;VALUE=text:" + escaped(record.value(3)));
        out += "END:VCARD\r\n";
    }
    return out;
}

} // namespace dataio
