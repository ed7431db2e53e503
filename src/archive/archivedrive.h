#pragma once

#include <QString>

#include <cstdint>

// The drive an archive lies on: its root and whether it is fixed (a fixed,
// remote or RAM disk, where no volume is ever swapped).
struct ArchiveDrive {
    QString root;
    bool fixed = true;
};
ArchiveDrive archiveDriveOf(const QString &archivePath);

// A Windows drive root ("C:\") must name a drive letter A to Z (else
// EZipExtractor 11003) that the logical drive mask holds (else 11004).
// Roots of other forms ("\\server\share\", "/") pass.
void checkDriveRoot(const QString &root, std::uint32_t logicalDrives);
