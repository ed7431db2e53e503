// The move of a resident's Paradox phone book into our format:
//   paradoxmove_bench DIR
// keeps DIR/basamy.db (a Paradox table) aside as original.db, then times the
// move of a fresh copy, ending with the book open as the window opens it.
// Prints the wall time and the record count.
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
    if (!QFile::exists(QStringLiteral("original.db")) &&
        !QFile::copy(QStringLiteral("basamy.db"), QStringLiteral("original.db")))
        return 1;
    for (const char *name : {"basamy.db", "basamy-paradox.db"})
        QFile::remove(QString::fromLatin1(name));
    QFile::copy(QStringLiteral("original.db"), QStringLiteral("basamy.db"));
    double seconds = 0;
    int records = 0;
    try {
        const auto start = std::chrono::steady_clock::now();
        data::Table book;
        book.setTableName(QStringLiteral("basamy.db"));
        book.open();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!book.paradoxMove())
            return 1;
        records = book.recordCount();
    } catch (const data::EDatabaseError &error) {
        std::fprintf(stderr, "paradoxmove_bench: %s\n", error.what());
        return 1;
    }
    std::printf("move: %.4f s, %d records\n", seconds, records);
    return 0;
}
