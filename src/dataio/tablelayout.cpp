#include "dataio/tablelayout.h"

#include <algorithm>

namespace dataio {

int TableLayout::indexOf(const QString &nameOrTitle) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(nameOrTitle, Qt::CaseInsensitive) == 0 ||
            columns[i].title.compare(nameOrTitle, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TableLayout::columnsSql() const
{
    QStringList parts;
    for (const Column &column : columns)
        parts.append(QStringLiteral("%1 VARCHAR(%2)").arg(column.name).arg(column.size));
    return parts.join(QStringLiteral(", "));
}

QStringList TableLayout::names() const
{
    QStringList result;
    for (const Column &column : columns)
        result.append(column.name);
    return result;
}

const TableLayout &directoryLayout()
{
    static const TableLayout layout{{{QStringLiteral("Tel"), QStringLiteral("Телефон"), 5, false},
                                     {QStringLiteral("Abon"), QStringLiteral("Абонент"), 150, true},
                                     {QStringLiteral("Otdel"), QStringLiteral("Отдел"), 150, false},
                                     {QStringLiteral("Adres"), QStringLiteral("Адрес"), 60, true}},
                                    {QStringLiteral("Tel"), QStringLiteral("Abon"), QStringLiteral("Adres")}};
    return layout;
}

const TableLayout &dialingCodesLayout()
{
    static const TableLayout layout{{{QStringLiteral("Obl"), QStringLiteral("Область"), 15, true},
                                     {QStringLiteral("Np"), QStringLiteral("Населенный пункт"), 20, true},
                                     {QStringLiteral("Kod"), QStringLiteral("Код"), 20, false}},
                                    {QStringLiteral("Obl"), QStringLiteral("Np")}};
    return layout;
}

const TableLayout &phoneBookLayout()
{
    static const TableLayout layout{{{QStringLiteral("FIO"), QStringLiteral("Фамилия, Имя, Отчество"), 30, false},
                                     {QStringLiteral("ADR"), QStringLiteral("Адрес"), 40, false},
                                     {QStringLiteral("TEL"), QStringLiteral("Телефон"), 15, false},
                                     {QStringLiteral("MAIL"), QStringLiteral("e-mail"), 50, false}},
                                    {}};
    return layout;
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = text.size();
    for (QChar c : text)
        count -= c.isLowSurrogate();
    return count;
}

qsizetype characterCount(std::string_view utf8)
{
    return std::count_if(utf8.begin(), utf8.end(),
                         [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; });
}

} // namespace dataio
