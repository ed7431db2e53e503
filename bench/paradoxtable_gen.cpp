// Writes the records of our data.db as a Paradox data.db, block by block as
// the tests' tables are made (pxlib's writer reads every block back for each
// record it puts, too slow for a million records):
//   paradoxtable_gen OURS.db PARADOX.db
#include "data/query.h"
#include "support/paradoxbuilder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: paradoxtable_gen OURS.db PARADOX.db\n", stderr);
        return 2;
    }
    data::Query query;
    query.setSql({QStringLiteral("SELECT Tel, Abon, Otdel, Adres FROM \"%1\" t")
                      .arg(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath())});
    query.open();
    ParadoxBuilder builder = directoryBuilder();
    builder.blockKb = 32; // block numbers are 16 bits: a million records need the largest blocks
    for (query.first(); !query.eof(); query.next()) {
        QStringList row;
        for (const char *name : {"Tel", "Abon", "Otdel", "Adres"})
            row.append(query.fieldByName(QString::fromLatin1(name)).asString());
        builder.addTexts(row);
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    return out.open(QIODevice::WriteOnly) && out.write(builder.build()) > 0 ? 0 : 1;
}
