// The main window's search through the dataset layer on a large data.db:
//   dataset_bench DIR [REPEATS] [CASE [ROWS_FILE]]
// runs in DIR (which holds data.db) the search with (a) all three fields
// empty, (b) a three-digit telephone prefix, (c) a subscriber prefix, or the
// one case named. Each case opens the query, walks every record as the
// footer count does and reads the first 20 rows as a grid paints them.
// Prints the best wall and processor time of each case, the record counts,
// the query plans and the peak memory; with ROWS_FILE also writes the rows
// found, in order, as the sqlite3 shell lists them (fields joined by "|").
#include "data/datasource.h"
#include "data/query.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

struct Case {
    const char *name;
    QString tel, abon, adres;
};

// Stands in for a grid: a record window of 20 rows read field by field.
class PaintingLink : public data::DataLink {
public:
    qsizetype paint()
    {
        qsizetype characters = 0;
        const int saved = activeRecord();
        for (int row = 0; row < recordCount(); ++row) {
            setActiveRecord(row);
            for (int i = 0; i < dataSet()->fieldCount(); ++i)
                characters += dataSet()->field(i)->displayText().size();
        }
        setActiveRecord(saved);
        return characters;
    }
};

void bind(data::Query &query, const Case &c)
{
    query.setParamByName(QStringLiteral("Name_param"), c.tel + u'%');
    query.setParamByName(QStringLiteral("Name_param2"), c.abon + u'%');
    query.setParamByName(QStringLiteral("Name_param3"), c.adres + u'%');
}

// One search as the main window runs it; returns the records counted.
int search(data::Query &query, PaintingLink &grid, const Case &c)
{
    query.close();
    if (!query.prepared())
        query.prepare();
    bind(query, c);
    query.open();
    int count = 0;
    query.disableControls();
    for (query.first(); !query.eof(); query.next())
        ++count;
    query.first();
    query.enableControls();
    grid.paint();
    return count;
}

void writeRows(data::Query &query, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw data::EDatabaseError(QStringLiteral("cannot write ") + fileName);
    QByteArray line;
    for (query.first(); !query.eof(); query.next()) {
        line.clear();
        for (int i = 0; i < query.fieldCount(); ++i) {
            if (i > 0)
                line += '|';
            line += query.field(i)->displayText().toUtf8();
        }
        line += '\n';
        file.write(line);
    }
}

// User and system time of this process: on a busy machine it measures the
// work done where wall time also measures the wait for a core.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: dataset_bench DIR [REPEATS]\n", stderr);
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const char *only = argc > 3 ? argv[3] : nullptr;
    const QString rowsFile = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();

    data::Query query;
    query.setSql({QStringLiteral("SELECT Tel, Abon, Otdel, Adres"), QStringLiteral("FROM \"data.db\" Country"),
                  QStringLiteral("WHERE   (Tel Like :Name_param and Abon Like :Name_param2 "),
                  QStringLiteral("and Adres Like :Name_param3)")});
    // The summary list's hook, called on every move as in the program.
    int scrolls = 0;
    query.AfterScroll = [&scrolls](data::DataSet &) { ++scrolls; };
    data::DataSource source(&query);
    PaintingLink grid;
    grid.setDataSource(&source);
    grid.setBufferCount(20);

    const Case cases[] = {
        {"a", {}, {}, {}}, {"b", QStringLiteral("279"), {}, {}}, {"c", {}, QString::fromUtf8("ИВАНОВ"), {}}};
    try {
        for (const Case &c : cases) {
            if (only && std::strcmp(only, c.name) != 0)
                continue;
            double best = 1e300, bestCpu = 1e300;
            int count = 0;
            for (int i = 0; i < repeats; ++i) {
                const double startCpu = cpuSeconds();
                const auto start = std::chrono::steady_clock::now();
                count = search(query, grid, c);
                best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                bestCpu = std::min(bestCpu, cpuSeconds() - startCpu);
            }
            if (!rowsFile.isEmpty())
                writeRows(query, rowsFile);
            query.close();
            std::printf("case %s: %.4f s, cpu %.4f s, %d records\n", c.name, best, bestCpu, count);
            bind(query, c);
            for (const QString &line : query.queryPlan())
                std::printf("case %s plan: %s\n", c.name, line.toUtf8().constData());
        }
    } catch (const data::EDatabaseError &error) {
        std::fprintf(stderr, "dataset_bench: %s\n", error.what());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return scrolls > 0 ? 0 : 1;
}
