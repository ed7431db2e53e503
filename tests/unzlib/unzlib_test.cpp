#include "unzlibdriver.h"
#include "zipformat.h"
#include "zipwriter.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <utime.h>

using zipwriter::Entry;
using zipwriter::Method;

namespace {

Entry member(const std::string &name, const std::string &data, Method method = Method::Deflated)
{
    Entry e;
    e.name = name;
    e.data = data;
    e.method = method;
    return e;
}

std::string sampleText(int lines)
{
    std::string s;
    for (int i = 0; i < lines; ++i)
        s += "line " + std::to_string(i * 7919 % 100003) + " of the directory\n";
    return s;
}

// A member encrypted with "right" whose header passes the one-byte password
// check for `impostor` too, as one member in 256 does.
Entry passingTheCheckFor(const std::string &impostor)
{
    for (int i = 0;; ++i) {
        Entry e = member("s.txt", "secret " + std::to_string(i), Method::Stored);
        e.password = "right";
        zipwriter::Writer w;
        w.add(e);
        const std::string bytes = w.finish();
        const auto *header = reinterpret_cast<const unsigned char *>(bytes.data()) + 30 + e.name.size();
        if (zipformat::passwordFits(impostor, header, std::uint8_t(zipwriter::crc32Of(e.data) >> 24)))
            return e;
    }
}

void setModified(const QString &path, time_t when)
{
    const utimbuf times{when, when};
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
}

class UnzLibTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(out)); }

    void make(const std::vector<Entry> &entries, const std::string &prefix = {})
    {
        zipwriter::Writer w;
        for (const Entry &e : entries)
            w.add(e);
        writeAll(archive, prefix + w.finish());
    }
    QString at(const QString &name) const { return out + "/" + name; }

    QTemporaryDir tmp;
    QString archive = tmp.path() + "/a.zip";
    QString out = tmp.path() + "/out";
    UnzLibDriver lib;
};

} // namespace

TEST_F(UnzLibTest, ReportsVersionsTheComponentAccepts)
{
    auto version = reinterpret_cast<UnzVersionFn>(lib.symbol("GetUnzLibVersion"));
    auto priv = reinterpret_cast<UnzVersionFn>(lib.symbol("GetUnzLibPrivVersion"));
    ASSERT_TRUE(version && priv);
    EXPECT_GE(version(), 172);
    EXPECT_LE(version(), 300);
    EXPECT_GE(priv(), 17300);
    EXPECT_LE(priv(), 99999);
}

TEST_F(UnzLibTest, ExtractsEveryKindOfMemberAndReportsProgress)
{
    Entry described = member("described.txt", sampleText(3000));
    described.dataDescriptor = true;
    const std::string big = sampleText(40000);
    make({member("stored.txt", "plain", Method::Stored), member("big.db", big), described});

    EXPECT_EQ(lib.run(archive, out), 3);
    EXPECT_EQ(readAll(at("stored.txt")), "plain");
    EXPECT_EQ(readAll(at("big.db")).toStdString(), big);
    EXPECT_EQ(readAll(at("described.txt")).toStdString(), described.data);
    EXPECT_EQ(filesIn(out).size(), 3);

    ASSERT_GE(lib.calls.size(), 3u);
    EXPECT_EQ(lib.calls[0].action, UNZ_CB_TOTAL_FILES);
    EXPECT_EQ(lib.calls[0].size, 3);
    EXPECT_EQ(lib.calls[1].action, UNZ_CB_TOTAL_SIZE);
    EXPECT_EQ(lib.calls[1].size, int(5 + big.size() + described.data.size()));
    EXPECT_EQ(lib.calls.back().action, UNZ_CB_END_OF_BATCH);
    const auto starts = lib.callsOf(UNZ_CB_NEW_FILE);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[1].text, "big.db");
    EXPECT_EQ(starts[1].size, int(big.size()));
    long done = 0;
    for (const Call &c : lib.callsOf(UNZ_CB_PROGRESS))
        done += c.size;
    EXPECT_EQ(done, long(5 + big.size() + described.data.size()));
    EXPECT_EQ(lib.callsOf(UNZ_CB_NEW_NAME).size(), 3u);
}

TEST_F(UnzLibTest, AsksBeforeReplacingUnlessOverwriting)
{
    make({member("a.txt", "new")});
    writeAll(at("a.txt"), QByteArray("old"));
    setModified(at("a.txt"), 946684800);   // 2000: older than the member
    lib.overwrite = false;

    EXPECT_EQ(lib.run(archive, out), 0);
    ASSERT_EQ(lib.callsOf(UNZ_CB_OVERWRITE).size(), 1u);
    const Call ask = lib.callsOf(UNZ_CB_OVERWRITE)[0];
    EXPECT_EQ(ask.error, 0x10000);         // older, directory index 0
    EXPECT_EQ(ask.size & 0xFF, 0);         // default: no
    ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].size, UNZ_SKIP_NO_OVERWRITE + 1);
    EXPECT_EQ(readAll(at("a.txt")), "old");

    lib.answerOn(UNZ_CB_OVERWRITE, [](CallbackRecord &r) { r.size = 1; });
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("a.txt")), "new");
}

TEST_F(UnzLibTest, FreshenAndUpdateReplaceOnlyOlderFiles)
{
    make({member("older.txt", "new"), member("newer.txt", "new"), member("missing.txt", "new")});
    writeAll(at("older.txt"), QByteArray("old"));
    writeAll(at("newer.txt"), QByteArray("old"));
    setModified(at("older.txt"), 946684800);

    lib.freshen = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("older.txt")), "new");
    EXPECT_EQ(readAll(at("newer.txt")), "old");
    EXPECT_FALSE(QFileInfo::exists(at("missing.txt")));

    lib.freshen = false;
    lib.update = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("missing.txt")), "new");
    EXPECT_EQ(readAll(at("newer.txt")), "old");
}

TEST_F(UnzLibTest, CrcMismatchKeepsTheOldFileUnlessTheCallerKeepsTheNewData)
{
    Entry bad = member("data.db", "fresh contents");
    bad.storedCrc = 0x12345678;
    make({bad});
    writeAll(at("data.db"), QByteArray("old table"));

    for (int answer : {0, 2}) {
        lib.answerOn(UNZ_CB_CRC_ERROR, [answer](CallbackRecord &r) { r.errorCode = answer; });
        EXPECT_EQ(lib.run(archive, out), 0);
        EXPECT_EQ(readAll(at("data.db")), "old table");
        EXPECT_EQ(filesIn(out), QStringList{"data.db"}) << "no temporary file is left";
        const auto crc = lib.callsOf(UNZ_CB_CRC_ERROR);
        ASSERT_EQ(crc.size(), 1u);
        EXPECT_EQ(uint32_t(crc[0].error), zipwriter::crc32Of("fresh contents"));
        EXPECT_EQ(uint32_t(crc[0].size), 0x12345678u);
        ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
        EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_CRC);
    }
    lib.answerOn(UNZ_CB_CRC_ERROR, [](CallbackRecord &r) { r.errorCode = 1; });
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("data.db")), "fresh contents");
}

TEST_F(UnzLibTest, NamesNeverLeaveTheTargetFolder)
{
    make({member("../evil.txt", "x"), member("/abs.txt", "x"), member("sub/../../up.txt", "x"),
          member("C:\\drive.txt", "x"), member("..", "x"), member("ok/inside.txt", "x")});

    lib.folders = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("ok/inside.txt")), "x");
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/evil.txt"));
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/up.txt"));
    const auto skipped = lib.callsOf(UNZ_CB_SKIPPED);
    ASSERT_EQ(skipped.size(), 5u);
    for (const Call &c : skipped)
        EXPECT_EQ(c.error, UNZ_ERR_UNSAFE_NAME) << c.text;

    // Without folder names only the base name counts, and it stays inside.
    lib.folders = false;
    EXPECT_EQ(lib.run(archive, out), 5);
    for (const char *name : {"evil.txt", "abs.txt", "up.txt", "drive.txt", "inside.txt"})
        EXPECT_TRUE(QFileInfo::exists(at(name))) << name;
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);   // ".."
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/evil.txt"));
}

TEST_F(UnzLibTest, FolderNamesAndExtractDirectory)
{
    zipwriter::Writer w;
    w.addDirectory("empty/");
    w.add(member("dir/sub/f.txt", "deep"));
    w.add(member("dir\\back.txt", "back"));
    writeAll(archive, w.finish());

    lib.folders = true;
    EXPECT_EQ(lib.run(archive, out), 2);
    EXPECT_EQ(readAll(at("dir/sub/f.txt")), "deep");
    EXPECT_EQ(readAll(at("dir/back.txt")), "back");
    EXPECT_TRUE(QFileInfo(at("empty")).isDir());

    const QString flat = tmp.path() + "/flat";
    QDir().mkpath(flat);
    lib.folders = false;
    EXPECT_EQ(lib.run(archive, flat), 2);
    EXPECT_EQ(filesIn(flat), (QStringList{"back.txt", "f.txt"}));
}

TEST_F(UnzLibTest, FileSpecificationsMatchWildcardsWithoutCase)
{
    Entry cyrillic = member("\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.txt", "x");   // пример.txt
    cyrillic.extraFlags = 0x0800;
    make({member("DATA.DB", "d"), member("kod.db", "k"), member("docs/readme.txt", "r"), cyrillic});

    EXPECT_EQ(lib.run(archive, out, {"*.db"}), 2);
    EXPECT_EQ(filesIn(out), (QStringList{"DATA.DB", "kod.db"}));
    EXPECT_EQ(lib.callsOf(UNZ_CB_TOTAL_FILES)[0].size, 2);

    QDir(out).removeRecursively();
    QDir().mkpath(out);
    EXPECT_EQ(lib.run(archive, out, {"?OD.DB", "docs/*"}), 2);
    EXPECT_EQ(filesIn(out), (QStringList{"kod.db", "readme.txt"}));

    EXPECT_EQ(lib.run(archive, out, {"\xD0\x9F\xD0\xA0\xD0\x98\xD0\x9C\xD0\x95\xD0\xA0.*"}), 1);   // ПРИМЕР.*
    EXPECT_EQ(lib.run(archive, out, {"nothing*"}), 0);
}

TEST_F(UnzLibTest, EncryptedMembersUseThePasswordOrAskForIt)
{
    Entry first = member("first.txt", sampleText(50));
    first.password = "right";
    Entry second = member("second.txt", "second", Method::Stored);
    second.password = "right";
    second.dataDescriptor = true;   // checked against the time, not the CRC
    make({first, second});

    lib.password = "right";
    EXPECT_EQ(lib.run(archive, out), 2);
    EXPECT_EQ(readAll(at("first.txt")).toStdString(), first.data);
    EXPECT_EQ(readAll(at("second.txt")), "second");
    EXPECT_TRUE(lib.callsOf(UNZ_CB_PASSWORD).empty());

    // Asked once; the password that fitted serves the next member too.
    lib.password = "wrong";
    lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
        std::strcpy(r.text, "right");
        r.errorCode = 1;
    });
    EXPECT_EQ(lib.run(archive, out), 2);
    ASSERT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD)[0].text, "first.txt");
    EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD)[0].size, 1);
}

TEST_F(UnzLibTest, WrongPasswordsUseUpTheRepeatCount)
{
    Entry e = member("s.txt", "secret");
    e.password = "right";
    make({e, member("plain.txt", "p")});
    lib.passwordRequests = 3;
    lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
        std::strcpy(r.text, "wrong");
        r.errorCode = 1;   // the size comes back unchanged
    });
    EXPECT_EQ(lib.run(archive, out), 1);
    const auto asks = lib.callsOf(UNZ_CB_PASSWORD);
    ASSERT_EQ(asks.size(), 3u);
    EXPECT_EQ(asks[0].size, 3);
    EXPECT_EQ(asks[2].size, 1);
    ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_PASSWORD);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].size, UNZ_SKIP_BAD_PASSWORD + 1);
    EXPECT_FALSE(QFileInfo::exists(at("s.txt")));
    EXPECT_TRUE(QFileInfo::exists(at("plain.txt")));
}

TEST_F(UnzLibTest, CancelAllStopsAskingForTheRestOfTheRun)
{
    Entry a = member("a.txt", "a");
    a.password = "pw";
    Entry b = member("b.txt", "b");
    b.password = "pw";
    make({a, b});
    lib.passwordRequests = 5;
    lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
        r.actionCode = 0;   // cancel all
        r.errorCode = 0;
        r.size = 0;
    });
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 2u);
}

TEST_F(UnzLibTest, DamagedArchivesFailWithoutWritingAnything)
{
    make({member("a.txt", sampleText(2000)), member("b.txt", sampleText(10))});
    const QByteArray whole = readAll(archive);

    writeAll(archive, whole.left(whole.size() / 2));
    EXPECT_LT(lib.run(archive, out), 0);
    ASSERT_FALSE(lib.callsOf(UNZ_CB_MESSAGE).empty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_MESSAGE)[0].error, UNZ_ERR_FORMAT);

    // Damaged compressed data: the member is dropped, its neighbour extracted.
    QByteArray broken = whole;
    for (int i = 200; i < 260; ++i)
        broken[i] = char(broken[i] ^ 0x5A);
    writeAll(archive, broken);
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(filesIn(out), QStringList{"b.txt"});

    EXPECT_LT(lib.run(tmp.path() + "/missing.zip", out), 0);
    EXPECT_EQ(lib.callsOf(UNZ_CB_MESSAGE)[0].error, UNZ_ERR_OPEN);
}

TEST_F(UnzLibTest, LyingSizesNeverYieldMoreThanStated)
{
    make({member("a.txt", sampleText(500))});
    QByteArray bytes = readAll(archive);
    // Shrink the stated uncompressed size in the central directory.
    const qsizetype central = bytes.indexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(central, 0);
    bytes[central + 24] = 10;
    bytes[central + 25] = bytes[central + 26] = bytes[central + 27] = 0;
    writeAll(archive, bytes);
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_TRUE(filesIn(out).isEmpty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_FORMAT);
}

TEST_F(UnzLibTest, AbortStopsTheRunAndLeavesNoPartialFile)
{
    make({member("a.txt", sampleText(40000)), member("b.txt", "b")});
    writeAll(at("a.txt"), QByteArray("old"));
    lib.answer = [](CallbackRecord &r) { return r.actionCode == UNZ_CB_PROGRESS ? 1 : 0; };
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_EQ(filesIn(out), QStringList{"a.txt"});
    EXPECT_EQ(readAll(at("a.txt")), "old");
    const auto messages = lib.callsOf(UNZ_CB_MESSAGE);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().error, UNZ_ERR_ABORTED);
}

TEST_F(UnzLibTest, TestingWritesNothing)
{
    Entry bad = member("bad.txt", "x");
    bad.storedCrc = 1;
    make({member("a.txt", "a"), bad});
    lib.test = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_TRUE(filesIn(out).isEmpty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_CRC);
}

TEST_F(UnzLibTest, DataInFrontOfTheArchiveIsSkipped)
{
    make({member("a.txt", "payload")}, std::string(1000, 'S'));
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("a.txt")), "payload");
}

TEST_F(UnzLibTest, APasswordThatOnlyPassesTheCheckByteIsWrong)
{
    for (const std::string impostor : {"", "wrong"}) {
        SCOPED_TRACE(impostor);
        const Entry locked = passingTheCheckFor(impostor);
        make({locked});
        lib.password = impostor;
        lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
            std::strcpy(r.text, "right");
            r.errorCode = 1;
        });
        EXPECT_EQ(lib.run(archive, out), 1);
        EXPECT_EQ(readAll(at("s.txt")).toStdString(), locked.data);
        EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 1u);
        EXPECT_TRUE(lib.callsOf(UNZ_CB_CRC_ERROR).empty());
    }
}

TEST_F(UnzLibTest, PasswordsTypedAsTextOpenCodePage1251AndUtf8Archives)
{
    const std::string veresk = "\xD0\x92\xD0\xB5\xD1\x80\xD0\xB5\xD1\x81\xD0\xBA\xD0\xB8\xD0\xBD";   // Верескин
    std::string longCyrillic;   // 85 x Ж; only the first 80 characters count
    for (int i = 0; i < 85; ++i)
        longCyrillic += "\xD0\x96";
    const struct {
        const char *name;
        std::string encryptedWith;
        std::string typed;
    } rows[] = {
        {"code page 1251", "\xC2\xE5\xF0\xE5\xF1\xEA\xE8\xED", veresk},
        {"UTF-8", veresk, veresk},
        {"80 characters in code page 1251", std::string(80, '\xC6'), longCyrillic},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Entry locked = member("s.txt", "secret");
        locked.password = row.encryptedWith;
        make({locked});
        lib.answerOn(UNZ_CB_PASSWORD, [&](CallbackRecord &r) {
            std::strncpy(r.text, row.typed.c_str(), sizeof r.text - 1);
            r.errorCode = 1;
        });
        EXPECT_EQ(lib.run(archive, out), 1);
        EXPECT_EQ(readAll(at("s.txt")), "secret");
    }
}
