// Extracts a directory archive the way the main window does (program
// settings, call-backs and event processing included), into an empty folder
// and over existing files, against Info-ZIP's "unzip -o -q" on the same
// archive in the same run; and inflates every member in memory with zlib
// alone, the limit any extractor can reach.
//   archive_bench ARCHIVE WORKDIR [RUNS]
#include "archive/zipextractor.h"
#include "zipformat/zipformat.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double bestOf(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
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
        std::fprintf(stderr, "usage: archive_bench ARCHIVE WORKDIR [RUNS]\n");
        return 2;
    }
    const QString archive = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString work = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const QString ours = work + "/ours", peer = work + "/peer";
    auto nothing = [] {};

    const double oursEmpty = bestOf(
        runs, [&] { emptyFolder(ours); }, [&] { extractWithComponent(archive, ours); });
    const double peerEmpty = bestOf(
        runs, [&] { emptyFolder(peer); }, [&] { extractWithUnzip(archive, peer); });
    const double oursOver = bestOf(runs, nothing, [&] { extractWithComponent(archive, ours); });
    const double peerOver = bestOf(runs, nothing, [&] { extractWithUnzip(archive, peer); });

    TZipExtractor listing;
    listing.setZipFileName(archive);
    QFile file(archive);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    qint64 produced = 0;
    const double inflateTime = bestOf(runs, nothing, [&] { produced = inflateAll(bytes, listing); });

    std::printf("archive %s: %d members, %.1f MB unpacked\n", argv[1], listing.count(), double(produced) / 1e6);
    std::printf("empty folder:   ours %.3f s, unzip -o -q %.3f s, ratio %.2f\n", oursEmpty, peerEmpty,
                oursEmpty / peerEmpty);
    std::printf("over old files: ours %.3f s, unzip -o -q %.3f s, ratio %.2f\n", oursOver, peerOver,
                oursOver / peerOver);
    std::printf("zlib inflate in memory: %.3f s, %.0f MB/s (ours into an empty folder: %.0f MB/s)\n", inflateTime,
                double(produced) / 1e6 / inflateTime, double(produced) / 1e6 / oursEmpty);
    return 0;
}
