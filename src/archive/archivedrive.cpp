#include "archive/archivedrive.h"

#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifndef Q_OS_WIN
// A block device the kernel marks removable (a USB stick, a card, a disc);
// a partition's flag lives with its disk, one folder up.
bool isRemovableDevice(const QByteArray &device)
{
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).fileName();
    const QString block = QStringLiteral("/sys/class/block/") + name;
    for (const QString &flag : {block + QStringLiteral("/removable"), block + QStringLiteral("/../removable")}) {
        QFile file(flag);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll().trimmed() == "1";
    }
    return false;
}
#endif

} // namespace

ArchiveDrive archiveDriveOf(const QString &archivePath)
{
    ArchiveDrive drive;
#ifdef Q_OS_WIN
    const QString full = QDir::toNativeSeparators(QFileInfo(archivePath).absoluteFilePath());
    drive.root = full.startsWith(QLatin1String("\\\\")) ? full.section(QLatin1Char('\\'), 0, 3) + QLatin1Char('\\')
                                                        : full.left(2) + QLatin1Char('\\');
    const UINT type = GetDriveTypeW(reinterpret_cast<LPCWSTR>(drive.root.utf16()));
    drive.fixed = type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK;
#else
    const QStorageInfo storage(archivePath);
    drive.root = storage.rootPath();
    drive.fixed = !isRemovableDevice(storage.device());
#endif
    return drive;
}

void checkDriveRoot(const QString &root, std::uint32_t logicalDrives)
{
    if (root.size() < 2 || root[1] != QLatin1Char(':'))
        return;
    const char16_t letter = root[0].toUpper().unicode();
    if (letter < u'A' || letter > u'Z')
        throw EZipExtractor(reportids::BadDriveLetter, root);
    if (!(logicalDrives & (1u << (letter - u'A'))))
        throw EZipExtractor(reportids::DriveNotPresent, root);
}
