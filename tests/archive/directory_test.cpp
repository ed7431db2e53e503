// Reading an archive's directory when its name is set, and the reports on
// that road.
#include "archive/archivedrive.h"
#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"
#include "archivetest.h"
#include "support/zip64archive.h"

#include <QStorageInfo>

namespace {

class Directory : public ArchiveTest {};

std::string dosName866() // ДАННЫЕ/КОД.DB in code page 866
{
    return "\x84\x80\x8D\x8D\x9B\x85/\x8A\x8E\x84.DB";
}

} // namespace

TEST_F(Directory, ListsEntriesWithTheirHeaderFieldsAndComments)
{
    zipwriter::Entry a = member("data.db", "0123456789");
    a.comment = "the subscribers";
    a.extra = std::string("\x55\x54\x05\x00\x01\x00\x00\x00\x00", 9);
    zipwriter::Entry b = member("kod.db", "codes");
    b.password = "pw";
    b.method = zipwriter::Method::Stored;
    build({a, b}, "Veryoskin directory");
    int dirUpdates = 0;
    std::vector<int> sequence;
    zip.OnDirUpdate = [&](TZipExtractor &) { ++dirUpdates; };
    zip.OnNewName = [&](TZipExtractor &, int seq, const ZipDirEntry &) { sequence.push_back(seq); };

    zip.setZipFileName(archive);

    ASSERT_EQ(zip.count(), 2);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.errorCode(), 0);
    EXPECT_EQ(dirUpdates, 1);
    EXPECT_EQ(sequence, (std::vector<int>{1, 2}));
    const ZipDirEntry &first = zip.dirEntry(0);
    EXPECT_EQ(first.FileName, "data.db");
    EXPECT_EQ(first.FileComment, "the subscribers");
    EXPECT_EQ(+first.UncompressedSize, 10u);
    EXPECT_EQ(+first.Crc32, zipwriter::crc32Of("0123456789"));
    EXPECT_EQ(+first.CompressionMethod, 8);
    EXPECT_EQ(first.ExtraData, QByteArray::fromStdString(a.extra));
    EXPECT_EQ(first.Encrypted, 0);
    EXPECT_EQ(+first.LocalHeaderOffset, 0u);
    const ZipDirEntry &second = zip.dirEntry(1);
    EXPECT_EQ(second.Encrypted, 1);
    EXPECT_EQ(+second.CompressedSize, 5u + 12u);
    EXPECT_GT(+second.LocalHeaderOffset, 0u);
    EXPECT_EQ(zip.archiveFacts().comment, "Veryoskin directory");
    EXPECT_FALSE(zip.archiveFacts().offsetDiffers);
    EXPECT_EQ(zip.archiveFacts().firstMemberOffset, 0);
}

TEST_F(Directory, StrayBytesAfterTheEndRecord)
{
    const auto entries = std::vector<zipwriter::Entry>{member("data.db", "x")};
    build(entries);
    const qint64 plainSize = QFileInfo(archive).size();

    build(entries, "comment", {}, "garbage!");
    zip.setZipFileName(archive);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::StrayBytesAfterEnd)});
    EXPECT_EQ(zip.count(), 1);
    EXPECT_EQ(zip.archiveFacts().archiveSize, plainSize + 7);
    EXPECT_EQ(zip.archiveFacts().comment, "comment");

    // Zero padding up to a multiple of 512 is no stray data.
    boxes.clear();
    build(entries, {}, {}, std::string(std::size_t(512 - plainSize % 512), '\0'));
    zip.setZipFileName(archive);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.archiveFacts().archiveSize, plainSize);

    // Zero bytes that do not end on such a boundary are reported.
    build(entries, {}, {}, std::string(3, '\0'));
    zip.setZipFileName(archive);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::StrayBytesAfterEnd)});
    EXPECT_EQ(zip.count(), 1);
}

TEST_F(Directory, DataInFrontIsReportedAndTheDirectoryStillRead)
{
    build({member("data.db", "x"), member("kod.db", "y")}, {}, std::string(300, 'S'));
    zip.setZipFileName(archive);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::DirectoryOffsetDiffers)});
    EXPECT_EQ(zip.count(), 2);
    EXPECT_TRUE(zip.archiveFacts().offsetDiffers);
    EXPECT_EQ(zip.archiveFacts().firstMemberOffset, 300);
    EXPECT_EQ(zip.zipFileName(), archive);
}

TEST_F(Directory, EmptyArchiveAndDirectoryOnlyEntries)
{
    build({});
    ASSERT_EQ(QFileInfo(archive).size(), 22);
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.count(), 0);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.Extract(), reportids::EmptyArchive);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::EmptyArchive)});

    zipwriter::Writer w;
    w.addDirectory("dir/");
    w.addDirectory("dir/sub/");
    writeAll(archive, QByteArray::fromStdString(w.finish()));
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.count(), 0);
    EXPECT_EQ(zip.skippedDirEntries(), 2);
    EXPECT_EQ(zip.Extract(), reportids::EmptyArchive);

    zip.setUseDirOnlyEntries(true);
    zip.setZipFileName(archive);
    ASSERT_EQ(zip.count(), 2);
    EXPECT_EQ(zip.dirEntry(1).FileName, "dir\\sub\\");
}

TEST_F(Directory, NotAnArchiveIsReportedOnSettingAndAgainOnExtract)
{
    writeAll(archive, QByteArray(5000, 'n'));
    zip.setFSpecArgs(QStringList{"*.*"});
    zip.setZipFileName(archive);
    EXPECT_EQ(boxes, QStringList{exceptionText(reportids::NotAnArchive, "basa.tel")});
    EXPECT_EQ(zip.errorCode(), reportids::NotAnArchive);
    EXPECT_EQ(zip.zipFileName(), archive);

    EXPECT_EQ(zip.Extract(), reportids::NotAnArchive);
    EXPECT_EQ(boxes.size(), 2);
    EXPECT_EQ(zip.count(), 0);
    EXPECT_EQ(zip.fSpecArgs(), QStringList{"*.*"});

    // Too short to hold an end record at all.
    writeAll(archive, QByteArray("PK"));
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.errorCode(), reportids::NotAnArchive);
}

TEST_F(Directory, MissingFileIsSilentUntilExtract)
{
    zip.setFSpecArgs(QStringList{"*.*"});
    zip.setZipFileName(tmp.path() + "/none.tel");
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.count(), 0);
    EXPECT_EQ(zip.Extract(), reportids::ArchiveNotFound);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::ArchiveNotFound)});
    EXPECT_EQ(zip.lastMessage(), reportText(reportids::ArchiveNotFound));
    EXPECT_EQ(zip.fSpecArgs(), QStringList{"*.*"});

    zip.setZipFileName({});
    EXPECT_EQ(zip.Extract(), reportids::NoArchiveName);
    EXPECT_EQ(boxes.last(), reportText(reportids::NoArchiveName));
}

TEST_F(Directory, DamagedDirectoriesClearTheName)
{
    build({member("data.db", "x"), member("kod.db", "y")}, "c");
    const QByteArray good = readAll(archive);
    const qsizetype central = good.indexOf(QByteArray("PK\x01\x02", 4));
    const qsizetype second = good.indexOf(QByteArray("PK\x01\x02", 4), central + 4);
    const qsizetype end = good.indexOf(QByteArray("PK\x05\x06", 4));

    struct Case {
        const char *what;
        qsizetype offset;
        QByteArray bytes;
        int id;
    };
    const Case cases[] = {
        {"bad entry signature", second, "PK\x01\x09", reportids::EntrySignatureMissing},
        {"more entries than there are", end + 10, QByteArray("\x09\x00", 2), reportids::DirectoryPastLastDisk},
        {"name past the end", second + 28, QByteArray("\xF0\xFF", 2), reportids::NameUnreadable},
        {"extra field past the end", second + 30, QByteArray("\xF0\xFF", 2), reportids::DirectorySeekFailed},
        {"comment past the end", second + 32, QByteArray("\xF0\xFF", 2), reportids::CommentUnreadable},
        {"directory larger than the file", end + 12, QByteArray("\xFF\xFF\x00\x00", 4), reportids::DirectorySeekFailed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bad = good;
        bad.replace(c.offset, c.bytes.size(), c.bytes);
        writeAll(archive, bad);
        boxes.clear();
        zip.setZipFileName(archive);
        ASSERT_FALSE(boxes.isEmpty());
        EXPECT_EQ(boxes.last(), exceptionText(c.id));
        EXPECT_EQ(zip.count(), 0);
        EXPECT_TRUE(zip.zipFileName().isEmpty());
        // Extract names the listing's reason again, not a missing name.
        EXPECT_EQ(zip.Extract(), c.id);
        EXPECT_EQ(boxes.last(), exceptionText(c.id));
    }
    zip.setZipFileName({});
    EXPECT_EQ(zip.Extract(), reportids::NoArchiveName) << "until the name is set again";

    writeAll(archive, good.left(good.size() / 2));
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.errorCode(), reportids::NotAnArchive);
}

TEST_F(Directory, NamesFollowTheCodePageRule)
{
    zipwriter::Entry dos = member(dosName866(), "x");
    zipwriter::Entry unix = dos;
    unix.hostSystem = 3;
    zipwriter::Entry hpfs = dos;
    hpfs.hostSystem = 6;
    zipwriter::Entry utf8 = member("Код/данные.db", "x");
    utf8.hostSystem = 3;
    utf8.extraFlags = 0x0800;
    build({dos, unix, hpfs, utf8});

    zip.setZipFileName(archive);
    ASSERT_EQ(zip.count(), 4);
    EXPECT_EQ(zip.dirEntry(0).FileName, "ДАННЫЕ\\КОД.DB");
    EXPECT_EQ(zip.dirEntry(1).FileName, QString::fromUtf8("„ЂЌЌ›…\\ЉЋ„.DB")); // read as code page 1251
    EXPECT_EQ(zip.dirEntry(2).FileName, "ДАННЫЕ\\КОД.DB");
    EXPECT_EQ(zip.dirEntry(3).FileName, "Код\\данные.db");

    zip.setCodePage(cpNone); // still converts for HPFS
    zip.setZipFileName(archive);
    EXPECT_NE(zip.dirEntry(0).FileName, "ДАННЫЕ\\КОД.DB");
    EXPECT_EQ(zip.dirEntry(2).FileName, "ДАННЫЕ\\КОД.DB");

    zip.setCodePage(cpOEM);
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.dirEntry(1).FileName, "ДАННЫЕ\\КОД.DB");
    EXPECT_EQ(zip.dirEntry(3).FileName, "Код\\данные.db");
}

TEST_F(Directory, UnattendedReportsWithoutBoxes)
{
    writeAll(archive, QByteArray(100, 'n'));
    zip.setUnattended(true);
    zip.setZipFileName(archive);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.errorCode(), reportids::NotAnArchive);
    EXPECT_EQ(zip.lastMessage(), exceptionText(reportids::NotAnArchive, "basa.tel"));
    zip.setZipFileName(tmp.path() + "/none");
    EXPECT_EQ(zip.Extract(), reportids::ArchiveNotFound);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(Directory, ANestedReadDoesNotMixWithTheOuterOne)
{
    build({member("data.db", "x"), member("kod.db", "y")});
    bool nested = false;
    zip.OnNewName = [&](TZipExtractor &, int, const ZipDirEntry &) {
        if (!std::exchange(nested, true))
            zip.setZipFileName(archive); // as a window activated meanwhile would
    };
    zip.setZipFileName(archive);
    EXPECT_TRUE(nested);
    EXPECT_EQ(zip.count(), 2);
}

TEST_F(Directory, ListingAndExtractionReadTheSameEndRecord)
{
    const std::string fake = std::string("PK\x05\x06", 4) + std::string(16, '\0'); // an empty archive's record
    struct Row {
        const char *name;
        std::string comment; // of the real archive
        std::string after;   // bytes after it
        int members;         // listed and extracted; -1: not an archive
    };
    const std::vector<Row> rows = {
        {"record in the comment, its comment past the end", fake + "\xFF\xFF", {}, 2},
        {"record in the comment that fits, stray bytes after it", fake + std::string("\0\0", 2) + "tail", {}, 2},
        {"the only record's comment runs past the end", {}, {}, -1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        build({member("data.db", "d"), member("kod.db", "k")}, row.comment, {}, row.after);
        if (row.members < 0) { // cut the file inside the comment
            QByteArray bytes = readAll(archive);
            bytes[bytes.size() - 2] = 9;
            writeAll(archive, bytes);
        }
        boxes.clear();
        programSettings();
        zip.setZipFileName(archive);
        EXPECT_EQ(zip.count(), std::max(row.members, 0));
        zip.setUnattended(true);
        zip.Extract();
        EXPECT_EQ(zip.successCount(), std::max(row.members, 0));
        EXPECT_EQ(filesIn(out).size(), std::max(row.members, 0));
        if (row.members < 0) {
            EXPECT_EQ(zip.errorCode(), reportids::NotAnArchive);
        }
        QDir(out).removeRecursively();
        QDir().mkpath(out);
    }
}

TEST_F(Directory, StreamingWritersZip64TrailerIsNoDataInFront)
{
    zipwriter::Entry streamed = member("data.db", "streamed");
    streamed.dataDescriptor = true;
    zipwriter::Writer w;
    w.add(streamed);
    writeAll(archive, w.finish({}, true));
    programSettings();
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.count(), 1);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(readAll(out + "/data.db"), "streamed");
}

TEST_F(Directory, ArchivesFromOtherWritersListAndExtractAlike)
{
    zipwriter::Writer plain;
    plain.add(member("data.db", "subscribers"));
    plain.add(member("kod.db", "codes"));
    const std::string ours = plain.finish();

    // "ö" in code page 437 reads as "Ф" in 866; the Unicode Path field says what it is.
    const std::string raw = "File 2 - \x94.txt";
    auto unicodePath = [&](std::uint32_t crc) {
        const std::string name = "File 2 - ö.txt";
        return zip64archive::put(0x7075, 2) + zip64archive::put(5 + name.size(), 2) + std::string(1, '\1') +
               zip64archive::put(crc, 4) + name;
    };
    zipwriter::Entry fitting = member(raw, "u");
    fitting.extra = unicodePath(zipwriter::crc32Of(raw));
    zipwriter::Entry stale = member(raw, "s");
    stale.extra = unicodePath(zipwriter::crc32Of(raw) ^ 1);
    zipwriter::Writer unicode;
    unicode.add(fitting);
    unicode.add(stale);

    zipwriter::Entry folder = member("folder", "");
    folder.externalAttributes = 0x10;
    zipwriter::Writer dos;
    dos.add(folder);
    dos.add(member("kod.db", "codes"));

    // Archive B after archive A: B's end record names disk 1 and A's directory.
    zipwriter::Writer second;
    second.add(member("b.txt", "b"));
    std::string b = second.finish();
    zipwriter::Writer first;
    first.add(member("a.txt", "a"));
    const std::string a = first.finish();
    zip64archive::set(b, b.size() - 16, 1, 2);
    zip64archive::set(b, b.size() - 6, zip64archive::get(a, a.size() - 6, 4), 4);

    struct Row {
        const char *what;
        std::string bytes;
        QStringList listed;
        QStringList extracted;
    };
    const std::vector<Row> rows = {
        {"Zip64 sizes, offsets and end record",
         zip64archive::fromZip(ours),
         {"data.db", "kod.db"},
         {"data.db", "kod.db"}},
        {"a damaged end record beside a sound Zip64 one",
         zip64archive::fromZip(ours, true),
         {"data.db", "kod.db"},
         {"data.db", "kod.db"}},
        {"a Unicode Path field used only when its CRC fits",
         unicode.finish(),
         {"File 2 - ö.txt", "File 2 - Ф.txt"},
         {"File 2 - ö.txt", "File 2 - Ф.txt"}},
        {"an MS-DOS folder without a trailing slash", dos.finish(), {"kod.db"}, {"kod.db"}},
        {"an archive after another, its end record naming disk 1", a + b, {"b.txt"}, {"b.txt"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        writeAll(archive, QByteArray::fromStdString(row.bytes));
        boxes.clear();
        programSettings();
        zip.setZipFileName(archive);
        QStringList listed;
        for (int i = 0; i < zip.count(); ++i)
            listed << zip.dirEntry(i).FileName;
        EXPECT_EQ(listed, row.listed);
        EXPECT_EQ(zip.Extract(), 0);
        EXPECT_EQ(filesIn(out), row.extracted);
        QDir(out).removeRecursively();
        QDir().mkpath(out);
    }
    writeAll(archive, QByteArray::fromStdString(zip64archive::fromZip(ours)));
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.dirEntry(0).UncompressedSize64, 11u);
    EXPECT_EQ(+zip.dirEntry(0).UncompressedSize, 0xFFFFFFFFu) << "the header's own field stays verbatim";
}

TEST_F(Directory, FactsOfTheOpenedArchiveAndTheComponentState)
{
    build({member("data.db", "x")}, "\xD2\xE5\xEB\xE5\xF4\xEE\xED\xFB"); // "Телефоны" in code page 1251
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.archiveFacts().comment, "Телефоны") << "kept as written, not read as code page 866";
    EXPECT_EQ(zip.archiveFacts().openedName, archive);
    EXPECT_EQ(zip.archiveFacts().driveRoot, QStorageInfo(archive).rootPath());
    EXPECT_TRUE(zip.archiveFacts().driveFixed);

    // While loading or designing, naming the archive reads nothing.
    for (const auto state : {TZipExtractor::csLoading, TZipExtractor::csDesigning}) {
        zip.setZipFileName({});
        zip.setComponentState(state);
        zip.setZipFileName(archive);
        EXPECT_EQ(zip.count(), 0) << state;
        zip.setComponentState({});
    }
}

TEST(DriveRoot, ALetterMustNameAPresentDrive)
{
    constexpr std::uint32_t driveC = 1u << 2;
    const struct {
        const char *root;
        int id; // 0: passes
    } rows[] = {
        {"C:\\", 0},
        {"c:\\", 0},
        {"1:\\", reportids::BadDriveLetter},
        {"D:\\", reportids::DriveNotPresent},
        {"\\\\server\\share\\", 0},
        {"/", 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.root);
        int raised = 0;
        try {
            checkDriveRoot(QString::fromLatin1(row.root), driveC);
        } catch (const EZipExtractor &e) {
            raised = e.id();
            EXPECT_EQ(e.textArgument(), QString::fromLatin1(row.root));
        }
        EXPECT_EQ(raised, row.id);
    }
}
