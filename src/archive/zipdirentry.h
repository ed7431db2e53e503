#pragma once

#include <QByteArray>
#include <QString>

#include <bit>
#include <cstdint>

#pragma pack(push, 1)
// The 42 bytes that follow a central directory header's signature, verbatim.
struct ZipDirHeader {
    std::uint8_t MadeByVersion;
    std::uint8_t HostSystem;
    std::uint16_t NeededVersion;
    std::uint16_t GeneralFlags;
    std::uint16_t CompressionMethod;
    std::uint32_t DosDateTime;
    std::uint32_t Crc32;
    std::uint32_t CompressedSize;
    std::uint32_t UncompressedSize;
    std::uint16_t FileNameLength;
    std::uint16_t ExtraFieldLength;
    std::uint16_t FileCommentLength;
    std::uint16_t StartDisk;
    std::uint16_t InternalAttributes;
    std::uint32_t ExternalAttributes;
    std::uint32_t LocalHeaderOffset;
};
#pragma pack(pop)
static_assert(sizeof(ZipDirHeader) == 42);
static_assert(std::endian::native == std::endian::little, "the header is copied byte for byte");

// One member of the archive's directory as the component lists it. The header
// fields are packed: read them by value, never bind references to them.
struct ZipDirEntry : ZipDirHeader {
    QString FileName; // converted, "\" separated
    QString FileComment;
    std::uint8_t Encrypted = 0;
    QByteArray ExtraData;
    // The sizes and offset, from the Zip64 extra field where the header's
    // own fields are saturated.
    std::uint64_t UncompressedSize64 = 0;
    std::uint64_t CompressedSize64 = 0;
    std::uint64_t LocalHeaderOffset64 = 0;
};
