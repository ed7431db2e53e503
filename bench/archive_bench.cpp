// Extracts a directory archive the way the main window does (program
// settings, call-backs and event processing included), into an empty folder
// and over existing files, against Info-ZIP's "unzip -o -q" on the same
// archive in the same run; and inflates every member in memory with zlib
// alone, the limit any extractor can reach. Each round runs every one of
// them once, so all meet the same load; medians of the rounds are quoted.
//   archive_bench ARCHIVE WORKDIR [ROUNDS]
#include "archive/zipextractor.h"
#include "zipformat/zipformat.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Each side starts on a settled file system: the writes, deletions and
// discards that an earlier side left to the system are done first, as they
// are long done when a resident's next activation unpacks.
double seconds(const std::function<void()> &work)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void emptyFolder(const QString &dir)
{
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
}

void extractWithComponent(const QString &archive, const QString &dir)
{
    TZipExtractor zip;
    zip.setTrace(true);
    zip.setZipFileName(archive);
    zip.setFSpecArgs({QStringLiteral("*.*")});
    zip.setExtrOptions(ExtrOverWrite);
    zip.setExtrBaseDir(dir);
    if (zip.Extract() != 0 || zip.successCount() != zip.count()) {
        std::fprintf(stderr, "extraction failed: %s\n", qPrintable(zip.lastMessage()));
        std::exit(1);
    }
}

void extractWithUnzip(const QString &archive, const QString &dir)
{
    if (QProcess::execute(QStringLiteral("unzip"), {"-o", "-q", archive, "-d", dir}) != 0) {
        std::fprintf(stderr, "unzip failed\n");
        std::exit(1);
    }
}

// Inflates every deflated member from memory; returns the bytes produced.
qint64 inflateAll(const QByteArray &bytes, const TZipExtractor &listing)
{
    using namespace zipformat;
    static QByteArray out(1 << 20, '\0');
    qint64 produced = 0;
    for (int i = 0; i < listing.count(); ++i) {
        const ZipDirEntry &e = listing.dirEntry(i);
        const char *local = bytes.constData() + e.LocalHeaderOffset;
        const char *data = local + kLocalHeaderSize + le16(local + 26) + le16(local + 28);
        z_stream zs{};
        inflateInit2(&zs, -MAX_WBITS);
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        zs.avail_in = e.CompressedSize;
        int rc = Z_OK;
        while (rc == Z_OK) {
            zs.next_out = reinterpret_cast<Bytef *>(out.data());
            zs.avail_out = uInt(out.size());
            rc = inflate(&zs, Z_NO_FLUSH);
            produced += out.size() - zs.avail_out;
        }
        inflateEnd(&zs);
    }
    return produced;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: archive_bench ARCHIVE WORKDIR [ROUNDS]\n");
        return 2;
    }
    const QString archive = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString work = QString::fromLocal8Bit(argv[2]);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const QString ours = work + "/ours", peer = work + "/peer";

    TZipExtractor listing;
    listing.setZipFileName(archive);
    QFile file(archive);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    qint64 produced = 0;

    enum { OursEmpty, PeerEmpty, OursOver, PeerOver, Inflate, Measures };
    std::vector<double> times[Measures], rateEmpty, rateOver, ratioEmpty, ratioOver;
    for (int round = 0; round < rounds; ++round) {
        double t[Measures];
        emptyFolder(ours);
        t[OursEmpty] = seconds([&] { extractWithComponent(archive, ours); });
        emptyFolder(peer);
        t[PeerEmpty] = seconds([&] { extractWithUnzip(archive, peer); });
        t[OursOver] = seconds([&] { extractWithComponent(archive, ours); });
        t[PeerOver] = seconds([&] { extractWithUnzip(archive, peer); });
        t[Inflate] = seconds([&] { produced = inflateAll(bytes, listing); });
        for (int m = 0; m < Measures; ++m)
            times[m].push_back(t[m]);
        rateEmpty.push_back(t[Inflate] / t[OursEmpty]);
        rateOver.push_back(t[Inflate] / t[OursOver]);
        ratioEmpty.push_back(t[OursEmpty] / t[PeerEmpty]);
        ratioOver.push_back(t[OursOver] / t[PeerOver]);
    }
    const double megabytes = double(produced) / 1e6;
    std::printf("archive %s: %d members, %.1f MB unpacked; medians of %d rounds\n", argv[1], listing.count(), megabytes,
                rounds);
    std::printf("empty folder:   ours %.3f s, unzip -o -q %.3f s, ratio %.2f\n", median(times[OursEmpty]),
                median(times[PeerEmpty]), median(ratioEmpty));
    std::printf("over old files: ours %.3f s, unzip -o -q %.3f s, ratio %.2f\n", median(times[OursOver]),
                median(times[PeerOver]), median(ratioOver));
    std::printf("zlib inflate in memory: %.3f s, %.0f MB/s; ours %.0f MB/s into an empty folder, %.0f MB/s over old "
                "files\n",
                median(times[Inflate]), megabytes / median(times[Inflate]), megabytes / median(times[OursEmpty]),
                megabytes / median(times[OursOver]));
    // Our rate as a share of zlib's in-memory rate, for the summary.
    std::printf("figure: unpack-into-empty-folder %.2f at-least 0.8\n", median(rateEmpty));
    std::printf("figure: unpack-over-old-files %.2f at-least 0.8\n", median(rateOver));
    return 0;
}
