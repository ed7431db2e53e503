#include "data/field.h"

#include "data/dataset.h"

#include <utility>

namespace data {

QString cutToSize(const QString &value, int size)
{
    if (size <= 0 || value.size() <= size)
        return value;
    const QList<uint> codePoints = value.toUcs4();
    if (codePoints.size() <= size)
        return value;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), size);
}

std::string_view cutToSize(std::string_view utf8, int size)
{
    if (size <= 0 || utf8.size() <= std::size_t(size))
        return utf8;
    int characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Each character starts with a byte that does not continue one.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && characters++ == size)
            return utf8.substr(0, i);
    }
    return utf8;
}

Field::Field(DataSet &owner, int index, QString name, int size)
    : owner_(owner), index_(index), name_(std::move(name)), size_(size)
{}

bool Field::isNull() const
{
    return owner_.valueIsNull(column_);
}

QString Field::asString() const
{
    return owner_.value(column_);
}

double Field::asFloat() const
{
    bool ok = false;
    const double number = asString().toDouble(&ok);
    return ok ? number : 0.0;
}

void Field::setAsString(const QString &value)
{
    owner_.setValue(*this, value);
}

} // namespace data
