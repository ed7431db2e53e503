#include "dataio/delimitedtext.h"

#include "dataio/cp1251.h"
#include "dataio/language.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace dataio {

namespace {
constexpr qint64 kBlockSize = 1 << 20;

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// The candidate seen most often outside quotes on the first line.
char detectSeparator(QByteArrayView text)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted) {
            tabs += c == '\t';
            semicolons += c == ';';
            commas += c == ',';
        }
    }
    if (tabs >= semicolons && tabs >= commas && tabs > 0)
        return '\t';
    return semicolons > commas ? ';' : ',';
}
} // namespace

std::optional<Encoding> encodingNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == u"utf-8" || n == u"utf8")
        return Encoding::Utf8;
    if (n == u"cp1251" || n == u"windows-1251")
        return Encoding::Cp1251;
    return std::nullopt;
}

std::optional<char> separatorNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == u"," || n == u"comma")
        return ',';
    if (n == u";" || n == u"semicolon")
        return ';';
    if (n == u"\t" || n == u"tab")
        return '\t';
    return std::nullopt;
}

// ---------------------------------------------------------------- reader

DelimitedReader::DelimitedReader(QIODevice &input, Encoding encoding, char separator)
    : input_(input), encoding_(encoding), separator_(separator)
{}

bool DelimitedReader::fill()
{
    if (atEnd_)
        return false;
    buffer_.remove(0, pos_);
    pos_ = 0;
    const qsizetype size = buffer_.size();
    buffer_.resize(size + kBlockSize);
    const qint64 got = input_.read(buffer_.data() + size, kBlockSize);
    if (got < 0) // never taken for the end: the rows after it would be lost
        throw std::runtime_error(say("ошибка чтения: ", "read error: ").append(input_.errorString()).toStdString());
    buffer_.resize(size + got);
    atEnd_ = got == 0;
    return !atEnd_;
}

void DelimitedReader::start()
{
    started_ = true;
    while (buffer_.size() < 3 && fill()) {
    }
    if (buffer_.startsWith("\xEF\xBB\xBF")) {
        pos_ = 3;
        consumed_ = 3;
        encoding_ = Encoding::Utf8;
    }
    if (separator_ == 0)
        separator_ = detectSeparator(QByteArrayView(buffer_).sliced(pos_));
}

QString DelimitedReader::decode(QByteArrayView bytes, QString &problem)
{
    if (encoding_ == Encoding::Cp1251)
        return fromCp1251(bytes);
    QString text = utf8_.decode(bytes);
    if (utf8_.hasError()) {
        utf8_.resetState();
        problem = say("текст не в кодировке UTF-8 (для кодовой страницы 1251 укажите --encoding cp1251)",
                      "the text is not UTF-8 (for code page 1251 give --encoding cp1251)");
    }
    return text;
}

bool DelimitedReader::next(TextRecord &record)
{
    if (!next(raw_))
        return false;
    record.line = raw_.line;
    record.lineBreaks = raw_.lineBreaks;
    record.problem = raw_.problem;
    record.fields.clear();
    for (QByteArrayView bytes : raw_.fields) {
        QString problem;
        record.fields.append(decode(bytes, problem));
        if (record.problem.isEmpty())
            record.problem = problem;
    }
    return true;
}

bool DelimitedReader::next(RawRecord &record)
{
    if (!started_)
        start();
    for (;;) {
        if (pos_ >= buffer_.size() && !fill())
            return false;
        if (parse(record) == Parse::Done)
            return true;
        if (!fill() && pos_ >= buffer_.size())
            return false;
    }
}

// Parses one record starting at pos_. NeedMore when the buffered bytes end
// inside it and the input has more; nothing is consumed then.
DelimitedReader::Parse DelimitedReader::parse(RawRecord &record)
{
    const char *data = buffer_.constData();
    const qsizetype end = buffer_.size();
    qsizetype i = pos_;
    int breaks = 0; // inside quoted fields
    int lines = 0;  // ending the record
    spans_.clear();
    unquoted_.resize(0);
    record.problem.clear();
    for (;;) {
        if (i < end && data[i] == '"') {
            const qsizetype from = unquoted_.size();
            for (++i;;) {
                const auto *quote = static_cast<const char *>(std::memchr(data + i, '"', std::size_t(end - i)));
                if (!quote && !atEnd_)
                    return Parse::NeedMore;
                const qsizetype stop = quote ? quote - data : end;
                unquoted_.append(data + i, stop - i);
                breaks += int(std::count(data + i, data + stop, '\n'));
                if (!quote) {
                    record.problem =
                        say("кавычка не закрыта до конца файла", "a quote is not closed before the end of the file");
                    i = end;
                    break;
                }
                if (stop + 1 == end && !atEnd_)
                    return Parse::NeedMore;
                if (stop + 1 < end && data[stop + 1] == '"') {
                    unquoted_.append('"');
                    i = stop + 2;
                    continue;
                }
                i = stop + 1;
                break;
            }
            const qsizetype rest = i;
            while (i < end && data[i] != separator_ && !isLineEnd(data[i]))
                ++i;
            if (i == end && !atEnd_)
                return Parse::NeedMore;
            if (i > rest) {
                unquoted_.append(data + rest, i - rest);
                record.problem =
                    say("после закрывающей кавычки идут другие символы", "characters follow a closing quote");
            }
            spans_.push_back({true, from, unquoted_.size() - from});
        } else {
            const qsizetype first = i;
            while (i < end && data[i] != separator_ && !isLineEnd(data[i]))
                ++i;
            if (i == end && !atEnd_)
                return Parse::NeedMore;
            spans_.push_back({false, first, i - first});
        }
        if (i < end && data[i] == separator_) {
            ++i;
            continue;
        }
        if (i < end && data[i] == '\r') {
            if (i + 1 == end && !atEnd_)
                return Parse::NeedMore;
            i += i + 1 < end && data[i + 1] == '\n' ? 2 : 1;
            ++lines;
        } else if (i < end) {
            ++i;
            ++lines;
        }
        break;
    }
    // The views are made once the record is whole: unquoted_ may have moved
    // while it grew.
    record.fields.resize(spans_.size());
    for (std::size_t f = 0; f < spans_.size(); ++f)
        record.fields[f] =
            QByteArrayView((spans_[f].quoted ? unquoted_.constData() : data) + spans_[f].from, spans_[f].size);
    record.line = line_;
    record.lineBreaks = breaks;
    line_ += breaks + lines;
    consumed_ += i - pos_;
    pos_ = i;
    return Parse::Done;
}

// ---------------------------------------------------------------- writer

DelimitedWriter::DelimitedWriter(QIODevice &output, Encoding encoding, char separator)
    : output_(output), encoding_(encoding), separator_(separator)
{}

QByteArray DelimitedWriter::encode(const QString &text)
{
    if (encoding_ == Encoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        if (c.isLowSurrogate())
            continue; // its high half already stood for the character
        const char b = cp1251Of(c);
        unrepresentable_ += b == 0 && !c.isNull();
        bytes.append(b || c.isNull() ? b : '?');
    }
    return bytes;
}

void DelimitedWriter::write(const QStringList &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(separator_);
        QByteArray bytes = encode(fields[i]);
        if (bytes.contains(separator_) || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
            line.append('"').append(bytes.replace("\"", "\"\"")).append('"');
        else
            line.append(bytes);
    }
    line.append("\r\n");
    output_.write(line);
}

} // namespace dataio
