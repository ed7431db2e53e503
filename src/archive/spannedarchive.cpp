#include "archive/spannedarchive.h"

#include "zipformat/zipformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <vector>

using namespace zipformat;

namespace {

QByteArray readPart(const QString &path, bool &ok)
{
    QFile file(path);
    ok = file.open(QIODevice::ReadOnly);
    return ok ? file.readAll() : QByteArray();
}

void put16(QByteArray &bytes, qsizetype at, std::uint16_t value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

void put32(QByteArray &bytes, qsizetype at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

SpannedArchive::SpannedArchive(const QString &lastPart, int diskCount) : lastPart_(lastPart), diskCount_(diskCount) {}

SpannedArchive::~SpannedArchive()
{
    if (!joined_.isEmpty())
        QFile::remove(joined_);
}

QString SpannedArchive::partPath(const QString &lastPart, int number)
{
    const QFileInfo info(lastPart);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".z%1").arg(number, 2, 10, QLatin1Char('0')));
}

bool SpannedArchive::join(const QString &folder, int &failedPart)
{
    // Where each disk's first byte lands in the joined file; the first
    // part's spanning marker is dropped.
    QByteArray joined;
    std::vector<qint64> diskStart;
    for (int disk = 0; disk < diskCount_; ++disk) {
        failedPart = disk + 1;
        bool ok = false;
        QByteArray part = readPart(partPath(lastPart_, disk + 1), ok);
        if (!ok)
            return false;
        qint64 skipped = 0;
        if (disk == 0 && part.size() >= 4 && le32(part.constData()) == kSpanningMarker)
            skipped = 4;
        diskStart.push_back(joined.size() - skipped);
        joined += part.mid(skipped);
    }
    failedPart = diskCount_ + 1;
    bool ok = false;
    QByteArray last = readPart(lastPart_, ok);
    const auto *bytes = reinterpret_cast<const unsigned char *>(last.constData());
    const qsizetype tail = std::min<qsizetype>(last.size(), kMaxCommentLength + kEndRecordSize);
    const std::ptrdiff_t found = ok ? findEndRecord(bytes + last.size() - tail, std::size_t(tail)) : -1;
    if (found < 0)
        return false;
    const qsizetype end = last.size() - tail + found;
    const char *record = last.constData() + end;
    const int entries = le16(record + 10);
    const qint64 directoryOffset = le32(record + 16);
    if (le16(record + 4) != diskCount_ || le16(record + 6) != diskCount_ || le16(record + 8) != entries ||
        directoryOffset > end)
        return false;
    diskStart.push_back(joined.size());
    // Every entry's offset now counts from the joined file's start, on disk 0.
    qsizetype at = qsizetype(directoryOffset);
    for (int i = 0; i < entries; ++i) {
        if (end - at < kCentralHeaderSize || le32(last.constData() + at) != kCentralHeaderSignature)
            return false;
        const char *header = last.constData() + at;
        const std::uint16_t disk = le16(header + 34);
        const std::uint32_t offset = le32(header + 42);
        if (disk > diskCount_ || std::uint64_t(diskStart[disk] + offset) >= 0xFFFFFFFF)
            return false;
        put16(last, at + 34, 0);
        put32(last, at + 42, std::uint32_t(diskStart[disk] + offset));
        at += kCentralHeaderSize + le16(header + 28) + le16(header + 30) + le16(header + 32);
    }
    put16(last, end + 4, 0);
    put16(last, end + 6, 0);
    put32(last, end + 16, std::uint32_t(diskStart.back() + directoryOffset));
    joined += last;

    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("spanned-XXXXXX.zip")));
    file.setAutoRemove(false);
    if (!file.open() || file.write(joined) != joined.size() || !file.flush()) {
        file.remove();
        return false;
    }
    joined_ = file.fileName();
    return true;
}
