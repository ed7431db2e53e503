// Writes the program's table files at build time:
//   datagen directory OUT [RECORDS]   the town's directory (data.db)
//   datagen phonebook OUT             an empty phone book (basamy.db)
#include "directorydata.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

namespace {
int usage()
{
    std::fputs("usage: datagen directory OUT [RECORDS] | phonebook OUT\n", stderr);
    return 2;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() >= 2 && args.size() <= 3 && args[0] == QLatin1String("directory")) {
            bool ok = true;
            const int records = args.size() == 3 ? args[2].toInt(&ok) : datagen::kDefaultDirectorySize;
            if (!ok || records < 0)
                return usage();
            datagen::writeDirectory(args[1], records);
        } else if (args.size() == 2 && args[0] == QLatin1String("phonebook")) {
            datagen::writePhoneBook(args[1]);
        } else {
            return usage();
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "datagen: %s\n", error.what());
        return 1;
    }
    return 0;
}
