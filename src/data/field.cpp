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
