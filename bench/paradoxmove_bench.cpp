// The move of a resident's Paradox phone book into our format:
//   paradoxmove_bench DIR
// copies DIR/basamy.db (a Paradox table) aside, then times three moves of a
// fresh copy, each ending with the book opened as the window opens it.
// Prints the best wall time and the record count.
#include "data/paradoxmove.h"
#include "data/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: paradoxmove_bench DIR\n", stderr);
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    QFile::remove(QStringLiteral("original.db"));
    if (!QFile::copy(QStringLiteral("basamy.db"), QStringLiteral("original.db")))
        return 1;
    double best = 1e300;
    int records = 0;
    try {
        for (int i = 0; i < 3; ++i) {
            for (const char *name : {"basamy.db", "basamy-paradox.db"})
                QFile::remove(QString::fromLatin1(name));
            QFile::copy(QStringLiteral("original.db"), QStringLiteral("basamy.db"));
            const auto start = std::chrono::steady_clock::now();
            data::Table book;
            book.setTableName(QStringLiteral("basamy.db"));
            book.open();
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (!book.paradoxMove())
                return 1;
            records = book.recordCount();
        }
    } catch (const data::EDatabaseError &error) {
        std::fprintf(stderr, "paradoxmove_bench: %s\n", error.what());
        return 1;
    }
    std::printf("move: %.3f s, %d records\n", best, records);
    return 0;
}
