// Writes the seed tables of the Paradox fuzzer into the folder given: the
// kinds of table the tests make.
#include "support/paradoxbuilder.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

void save(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(dir).filePath(name + QStringLiteral(".db")));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    using PB = ParadoxBuilder;
    for (const int version : {3, 5, 10, 12}) {
        PB builder = directoryBuilder();
        builder.versionId = version;
        builder.codePage = version == 5 ? 866 : 1251;
        builder.perBlock = 2;
        builder.deletedTail = builder.alpha(QStringLiteral("99999"), 5);
        builder.staleBlock = version == 10;
        builder.encrypted = version == 3;
        for (int i = 0; i < 5; ++i)
            builder.addTexts(
                {QString::number(21340 + i), QStringLiteral("АБОНЕНТ %1").arg(i), {}, QStringLiteral("ЛЕНИНА")});
        save(dir, QStringLiteral("directory-%1").arg(version), builder.build());
    }
    PB types;
    types.fields = {{PB::Short, 0, "S"},   {PB::Long, 0, "I"},     {PB::Number, 0, "N"}, {PB::Money, 0, "M"},
                    {PB::Logical, 0, "L"}, {PB::Date, 0, "D"},     {PB::Time, 0, "T"},   {PB::Timestamp, 0, "TS"},
                    {PB::Bcd, 2, "B"},     {PB::Memo, 15, "Memo"}, {PB::Bytes, 4, "Y"},  {PB::AutoIncrement, 0, "A"}};
    types.add({PB::integer(-4, 2), PB::integer(70000, 4), PB::number(2.5), PB::number(-3), QByteArray("\x81", 1),
               PB::integer(730120, 4), PB::integer(3600000, 4), PB::number(6.3e13),
               QByteArray::fromHex("8200000000000000000000000000012345"),
               PB::zeros(5) + QByteArray::fromHex("ff1000001c0000000100"), QByteArray("abcd"), PB::integer(1, 4)});
    save(dir, QStringLiteral("types"), types.build());
    return 0;
}
