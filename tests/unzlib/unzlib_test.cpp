#include "support/unzlibdriver.h"
#include "zipformat/zipformat.h"
#include "zipwriter/zipwriter.h"

#include <cstring>

#ifdef __linux__
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

using Names = std::vector<std::string>;

class UnzLibTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::create_directory(fsPath(out))); }

    void make(const std::vector<Entry> &entries, const std::string &prefix = {})
    {
        zipwriter::Writer w;
        for (const Entry &e : entries)
            w.add(e);
        writeAll(archive, prefix + w.finish());
    }
    std::string at(const std::string &name) const { return out + "/" + name; }

    ScratchDir tmp;
    std::string archive = tmp.path() + "/a.zip";
    std::string out = tmp.path() + "/out";
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
    EXPECT_EQ(readAll(at("big.db")), big);
    EXPECT_EQ(readAll(at("described.txt")), described.data);
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
    writeAll(at("a.txt"), "old");
    setModified(at("a.txt"), 946684800); // 2000: older than the member
    lib.overwrite = false;

    EXPECT_EQ(lib.run(archive, out), 0);
    ASSERT_EQ(lib.callsOf(UNZ_CB_OVERWRITE).size(), 1u);
    const Call ask = lib.callsOf(UNZ_CB_OVERWRITE)[0];
    EXPECT_EQ(ask.error, 0x10000); // older, directory index 0
    EXPECT_EQ(ask.size & 0xFF, 0); // default: no
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
    writeAll(at("older.txt"), "old");
    writeAll(at("newer.txt"), "old");
    setModified(at("older.txt"), 946684800);

    lib.freshen = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("older.txt")), "new");
    EXPECT_EQ(readAll(at("newer.txt")), "old");
    EXPECT_FALSE(exists(at("missing.txt")));

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
    writeAll(at("data.db"), "old table");

    for (int answer : {0, 2}) {
        lib.answerOn(UNZ_CB_CRC_ERROR, [answer](CallbackRecord &r) { r.errorCode = answer; });
        EXPECT_EQ(lib.run(archive, out), 0);
        EXPECT_EQ(readAll(at("data.db")), "old table");
        EXPECT_EQ(filesIn(out), Names{"data.db"}) << "no temporary file is left";
        const auto crc = lib.callsOf(UNZ_CB_CRC_ERROR);
        ASSERT_EQ(crc.size(), 1u);
        EXPECT_EQ(uint32_t(crc[0].error), zipwriter::crc32Of("fresh contents"));
        EXPECT_EQ(uint32_t(crc[0].size), 0x12345678u);
        ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
        EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_CRC);
    }
    lib.answerOn(UNZ_CB_CRC_ERROR, [](CallbackRecord &r) { r.errorCode = UNZ_ANSWER_YES; });
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("data.db")), "fresh contents");
}

TEST_F(UnzLibTest, NamesNeverLeaveTheTargetFolder)
{
    // Stored name, and the file it becomes without folder names ("" when
    // even that is refused). With folder names only "ok/inside.txt" is safe.
    const std::vector<std::pair<std::string, std::string>> names = {{"../evil.txt", "evil.txt"},
                                                                    {"/abs.txt", "abs.txt"},
                                                                    {"sub/../../up.txt", "up.txt"},
                                                                    {"C:\\drive.txt", "drive.txt"},
                                                                    {"C:relative.txt", "relative.txt"},
                                                                    {"\\\\server\\share\\unc.txt", "unc.txt"},
                                                                    {"..\\back.txt", "back.txt"},
                                                                    {"sub\\..\\..\\backup.txt", "backup.txt"},
                                                                    {"..", ""},
                                                                    {"ok/inside.txt", "inside.txt"}};
    std::vector<Entry> entries;
    for (const auto &[name, flat] : names)
        entries.push_back(member(name, "x"));
    make(entries);

    lib.folders = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("ok/inside.txt")), "x");
    EXPECT_EQ(filesIn(tmp.path()), Names{"a.zip"});
    const auto skipped = lib.callsOf(UNZ_CB_SKIPPED);
    ASSERT_EQ(skipped.size(), names.size() - 1);
    for (const Call &c : skipped)
        EXPECT_EQ(c.error, UNZ_ERR_UNSAFE_NAME) << c.text;

    fs::remove_all(fsPath(out));
    fs::create_directory(fsPath(out));
    lib.folders = false;
    EXPECT_EQ(lib.run(archive, out), int(names.size()) - 1);
    Names written;
    for (const auto &[name, flat] : names)
        if (!flat.empty())
            written.push_back(flat);
    std::sort(written.begin(), written.end());
    EXPECT_EQ(filesIn(out), written);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u); // ".."
    EXPECT_EQ(filesIn(tmp.path()), Names{"a.zip"});
}

// Names that Windows reads as devices or as streams of another file are
// refused there; other systems take them as plain names.
TEST_F(UnzLibTest, DeviceAndStreamNamesAreRefusedOnWindows)
{
#ifdef _WIN32
    constexpr bool refused = true;
#else
    constexpr bool refused = false;
#endif
    const Names special = {"NUL", "aux.txt", "Com1.db", "lpt9", "con .txt", "data.db:stream"};
    const Names plain = {"com10.txt", "console.txt", "nul-not.txt"};
    std::vector<Entry> entries;
    for (const Names &names : {special, plain})
        for (const std::string &name : names)
            entries.push_back(member(name, "x"));
    make(entries);
    Names expected = plain;
    if (!refused)
        expected.insert(expected.end(), special.begin(), special.end());
    std::sort(expected.begin(), expected.end());

    for (bool folders : {false, true}) {
        lib.folders = folders;
        EXPECT_EQ(lib.run(archive, out), int(expected.size())) << "folder names " << folders;
        EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), refused ? special.size() : 0u);
        EXPECT_EQ(filesIn(out), expected);
    }
}

// Names outside code page and ASCII, in the archive's path, the target
// folder and the members, reach the file system unchanged.
TEST_F(UnzLibTest, UnicodePathsAreKeptWhole)
{
    const std::string folder = tmp.path() + "/Справочник Верескина";
    const std::string target = folder + "/Выход";
    ASSERT_TRUE(fs::create_directories(fsPath(target)));
    Entry deep = member("Данные/Код.db", "codes");
    deep.extraFlags = 0x0800;
    Entry greek = member("αβγ.txt", "greek");
    greek.extraFlags = 0x0800;
    zipwriter::Writer w;
    w.add(deep);
    w.add(greek);
    const std::string named = folder + "/База.tel";
    writeAll(named, w.finish());

    lib.folders = true;
    EXPECT_EQ(lib.run(named, target), 2);
    EXPECT_EQ(readAll(target + "/Данные/Код.db"), "codes");
    EXPECT_EQ(readAll(target + "/αβγ.txt"), "greek");
}

// The records as raw bytes at their documented offsets, as a caller built
// with another compiler hands them over; addresses are 4 bytes wide on
// 32-bit Windows, 8 on 64-bit systems.
TEST_F(UnzLibTest, RecordsTravelAtTheirDocumentedOffsets)
{
    struct Layout {
        std::size_t size, caller, version, callback, overwrite, archiveName, extractDirectory, endMarker;
        std::size_t callbackCaller, action, text;
    };
    static constexpr Layout layout = sizeof(void *) == 4 ? Layout{148, 4, 8, 12, 60, 68, 108, 144, 4, 16, 28}
                                                         : Layout{192, 8, 16, 24, 80, 88, 144, 184, 8, 24, 36};
    struct Seen {
        std::int32_t recordSize = 0;
        std::vector<std::string> names;
    };
    static Seen seen;
    seen = {};
    const auto callback = +[](CallbackRecord *record) -> std::int32_t {
        const auto *bytes = reinterpret_cast<const unsigned char *>(record);
        std::int32_t action = 0;
        void *caller = nullptr;
        std::memcpy(&seen.recordSize, bytes, 4);
        std::memcpy(&caller, bytes + layout.callbackCaller, sizeof caller);
        std::memcpy(&action, bytes + layout.action, 4);
        if (caller == &seen && action == UNZ_CB_NEW_FILE)
            seen.names.emplace_back(reinterpret_cast<const char *>(bytes + layout.text));
        return 0;
    };
    make({member("a.txt", "a"), member("b.txt", "b")});
    std::vector<unsigned char> params(layout.size, 0);
    const auto put = [&](std::size_t offset, auto value) { std::memcpy(&params[offset], &value, sizeof value); };
    put(layout.caller, static_cast<void *>(&seen));
    put(layout.version, std::int32_t(173));
    put(layout.callback, callback);
    put(layout.overwrite, std::int32_t(-1));
    put(layout.archiveName, archive.c_str());
    put(layout.endMarker, std::int32_t(7));
    put(layout.extractDirectory, out.c_str());

    const auto exec = reinterpret_cast<UnzLibExecFn>(lib.symbol("UnzLibExec"));
    ASSERT_NE(exec, nullptr);
    EXPECT_EQ(exec(reinterpret_cast<UnzipParams *>(params.data())), 2);
    EXPECT_EQ(seen.recordSize, sizeof(void *) == 4 ? 540 : 552);
    EXPECT_EQ(seen.names, (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(filesIn(out), (Names{"a.txt", "b.txt"}));
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
    EXPECT_TRUE(fs::is_directory(fsPath(at("empty"))));

    const std::string flat = tmp.path() + "/flat";
    fs::create_directory(fsPath(flat));
    lib.folders = false;
    EXPECT_EQ(lib.run(archive, flat), 2);
    EXPECT_EQ(filesIn(flat), (Names{"back.txt", "f.txt"}));
}

TEST_F(UnzLibTest, FileSpecificationsMatchWildcardsWithoutCase)
{
    Entry cyrillic = member("\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.txt", "x"); // пример.txt
    cyrillic.extraFlags = 0x0800;
    make({member("DATA.DB", "d"), member("kod.db", "k"), member("docs/readme.txt", "r"), cyrillic});

    EXPECT_EQ(lib.run(archive, out, {"*.db"}), 2);
    EXPECT_EQ(filesIn(out), (Names{"DATA.DB", "kod.db"}));
    EXPECT_EQ(lib.callsOf(UNZ_CB_TOTAL_FILES)[0].size, 2);

    fs::remove_all(fsPath(out));
    fs::create_directory(fsPath(out));
    EXPECT_EQ(lib.run(archive, out, {"?OD.DB", "docs/*"}), 2);
    EXPECT_EQ(filesIn(out), (Names{"kod.db", "readme.txt"}));

    EXPECT_EQ(lib.run(archive, out, {"\xD0\x9F\xD0\xA0\xD0\x98\xD0\x9C\xD0\x95\xD0\xA0.*"}), 1); // ПРИМЕР.*
    EXPECT_EQ(lib.run(archive, out, {"nothing*"}), 0);
}

TEST_F(UnzLibTest, EncryptedMembersUseThePasswordOrAskForIt)
{
    Entry first = member("first.txt", sampleText(50));
    first.password = "right";
    Entry second = member("second.txt", "second", Method::Stored);
    second.password = "right";
    second.dataDescriptor = true; // checked against the time, not the CRC
    make({first, second});

    lib.password = "right";
    EXPECT_EQ(lib.run(archive, out), 2);
    EXPECT_EQ(readAll(at("first.txt")), first.data);
    EXPECT_EQ(readAll(at("second.txt")), "second");
    EXPECT_TRUE(lib.callsOf(UNZ_CB_PASSWORD).empty());

    // Asked once; the password that fitted serves the next member too.
    lib.password = "wrong";
    lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
        std::strcpy(r.text, "right");
        r.errorCode = UNZ_ANSWER_YES;
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
        r.errorCode = UNZ_ANSWER_YES; // the size comes back unchanged
    });
    EXPECT_EQ(lib.run(archive, out), 1);
    const auto asks = lib.callsOf(UNZ_CB_PASSWORD);
    ASSERT_EQ(asks.size(), 3u);
    EXPECT_EQ(asks[0].size, 3);
    EXPECT_EQ(asks[2].size, 1);
    ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_PASSWORD);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].size, UNZ_SKIP_BAD_PASSWORD + 1);
    EXPECT_FALSE(exists(at("s.txt")));
    EXPECT_TRUE(exists(at("plain.txt")));
}

TEST_F(UnzLibTest, AnEncryptedMemberOfAnUnknownMethodIsReportedAsSuchWithoutAsking)
{
    Entry e = member("s.txt", "secret", Method(12));
    e.password = "right";
    make({e});
    lib.answerOn(UNZ_CB_PASSWORD, [](CallbackRecord &r) {
        std::strcpy(r.text, "right");
        r.errorCode = UNZ_ANSWER_YES;
    });
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_TRUE(lib.callsOf(UNZ_CB_PASSWORD).empty());
    ASSERT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_METHOD);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].size, UNZ_SKIP_COMPRESSION_UNKNOWN + 1);
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
        r.actionCode = UNZ_PASSWORD_CANCEL_ALL;
        r.errorCode = UNZ_ANSWER_NO;
        r.size = 0;
    });
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 1u);
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED).size(), 2u);
}

TEST_F(UnzLibTest, DamagedArchivesFailWithoutWritingAnything)
{
    make({member("a.txt", sampleText(2000)), member("b.txt", sampleText(10))});
    const std::string whole = readAll(archive);

    writeAll(archive, whole.substr(0, whole.size() / 2));
    EXPECT_LT(lib.run(archive, out), 0);
    ASSERT_FALSE(lib.callsOf(UNZ_CB_MESSAGE).empty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_MESSAGE)[0].error, UNZ_ERR_FORMAT);

    // Damaged compressed data: the member is dropped, its neighbour extracted.
    std::string broken = whole;
    for (std::size_t i = 200; i < 260; ++i)
        broken[i] = char(broken[i] ^ 0x5A);
    writeAll(archive, broken);
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(filesIn(out), Names{"b.txt"});

    EXPECT_LT(lib.run(tmp.path() + "/missing.zip", out), 0);
    EXPECT_EQ(lib.callsOf(UNZ_CB_MESSAGE)[0].error, UNZ_ERR_OPEN);
}

TEST_F(UnzLibTest, LyingSizesNeverYieldMoreThanStated)
{
    make({member("a.txt", sampleText(500))});
    std::string bytes = readAll(archive);
    // Shrink the stated uncompressed size in the central directory.
    const std::size_t central = bytes.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(central, std::string::npos);
    bytes[central + 24] = 10;
    bytes[central + 25] = bytes[central + 26] = bytes[central + 27] = 0;
    writeAll(archive, bytes);
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_TRUE(filesIn(out).empty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_SKIPPED)[0].error, UNZ_ERR_FORMAT);
}

TEST_F(UnzLibTest, AbortStopsTheRunAndLeavesNoPartialFile)
{
    make({member("a.txt", sampleText(40000)), member("b.txt", "b")});
    writeAll(at("a.txt"), "old");
    lib.answer = [](CallbackRecord &r) { return r.actionCode == UNZ_CB_PROGRESS ? 1 : 0; };
    EXPECT_EQ(lib.run(archive, out), 0);
    EXPECT_EQ(filesIn(out), Names{"a.txt"});
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
    EXPECT_TRUE(filesIn(out).empty());
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
            r.errorCode = UNZ_ANSWER_YES;
        });
        EXPECT_EQ(lib.run(archive, out), 1);
        EXPECT_EQ(readAll(at("s.txt")), locked.data);
        EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 1u);
        EXPECT_TRUE(lib.callsOf(UNZ_CB_CRC_ERROR).empty());
    }
}

TEST_F(UnzLibTest, PasswordsTypedAsTextOpenCodePage1251AndUtf8Archives)
{
    const std::string veresk = "\xD0\x92\xD0\xB5\xD1\x80\xD0\xB5\xD1\x81\xD0\xBA\xD0\xB8\xD0\xBD"; // Верескин
    std::string longCyrillic; // 85 x Ж; only the first 80 characters count
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
            r.errorCode = UNZ_ANSWER_YES;
        });
        EXPECT_EQ(lib.run(archive, out), 1);
        EXPECT_EQ(readAll(at("s.txt")), "secret");
    }
}

TEST_F(UnzLibTest, MembersSharingTheirDataAreADamagedArchive)
{
    make({member("bomb.txt", std::string(100000, 'z'))});
    std::string bytes = readAll(archive);
    const std::size_t central = bytes.find("PK\x01\x02");
    const std::size_t end = bytes.rfind("PK\x05\x06");
    // Fifty directory entries, every one pointing at the same stream.
    std::string directory;
    for (int i = 0; i < 50; ++i)
        directory += bytes.substr(central, end - central);
    std::string record = bytes.substr(end);
    record[8] = record[10] = 50;
    record[12] = char(directory.size() & 0xFF);
    record[13] = char(directory.size() >> 8);
    writeAll(archive, bytes.substr(0, central) + directory + record);

    EXPECT_LT(lib.run(archive, out), 0);
    ASSERT_FALSE(lib.callsOf(UNZ_CB_MESSAGE).empty());
    EXPECT_EQ(lib.callsOf(UNZ_CB_MESSAGE)[0].error, UNZ_ERR_FORMAT);
    EXPECT_TRUE(filesIn(out).empty());
}

TEST_F(UnzLibTest, StreamingWritersZip64TrailerIsRead)
{
    Entry streamed = member("streamed.txt", sampleText(100));
    streamed.dataDescriptor = true;
    zipwriter::Writer w;
    w.add(streamed);
    writeAll(archive, w.finish({}, true));
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(at("streamed.txt")), streamed.data);
}

TEST_F(UnzLibTest, NamesHoldingNulOrTooLongOrControlsStayInside)
{
    const struct {
        std::string name;
        int error; // of the skip; 0: extracted
    } rows[] = {
        {std::string("data.db\0.txt", 12), UNZ_ERR_UNSAFE_NAME},
        {std::string(300, 'n'), UNZ_ERR_WRITE},
#ifndef _WIN32 // beyond MAX_PATH there; a short temporary name is what matters here
        {std::string(250, 'n'), 0},
        {"ctl\x01\x1b[2J.txt", 0},
#endif
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.size());
        make({member(row.name, "x")});
        EXPECT_EQ(lib.run(archive, out), row.error ? 0 : 1);
        const auto skipped = lib.callsOf(UNZ_CB_SKIPPED);
        EXPECT_EQ(skipped.empty() ? 0 : skipped[0].error, row.error);
        EXPECT_EQ(filesIn(out).size(), row.error ? 0u : 1u);
        EXPECT_EQ(filesIn(tmp.path()), Names{"a.zip"});
        fs::remove_all(fsPath(out));
        fs::create_directory(fsPath(out));
    }
}

TEST_F(UnzLibTest, AKilledRunsTemporaryFilesGoWithTheNextRun)
{
    const Names strays = {".unzlib-Ab12Cd", ".unzlib-Zz99Qq"};
    const Names others = {".unzlib-Ab12Cde", ".zlib-Ab12Cd", "keep.unzlib-Ab12Cd"};
    for (const std::string &name : strays)
        writeAll(at(name), "left by a killed run");
    for (const std::string &name : others)
        writeAll(at(name), "not ours");
    make({member("data.db", sampleText(2000))});
    Names temporaries; // what a run writes while it works
    lib.answer = [&](CallbackRecord &r) {
        if (r.actionCode == UNZ_CB_PROGRESS)
            for (const std::string &name : filesIn(out))
                if (std::find(others.begin(), others.end(), name) == others.end())
                    temporaries.push_back(name);
        return 0;
    };
    EXPECT_EQ(lib.run(archive, out), 1);
    Names expected = others;
    expected.push_back("data.db");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(out), expected);
    ASSERT_FALSE(temporaries.empty());
    for (const std::string &name : temporaries)
        EXPECT_TRUE(name.size() == strays[0].size() && name.rfind(".unzlib-", 0) == 0) << name;
}

TEST_F(UnzLibTest, ASecondRunIntoTheFolderLeavesTheFirstRunsTemporaryAlone)
{
    make({member("data.db", sampleText(2000)), member("kod.db", "k")});
    const std::string second = tmp.path() + "/second.zip";
    writeAll(second, readAll(archive));
    UnzLibDriver nested;
    int nestedResult = -1;
    lib.answer = [&](CallbackRecord &r) {
        if (r.actionCode == UNZ_CB_PROGRESS && nestedResult < 0)
            nestedResult = nested.run(second, out, {"kod.db"});
        return 0;
    };
    EXPECT_EQ(lib.run(archive, out), 2);
    EXPECT_EQ(nestedResult, 1);
    EXPECT_EQ(readAll(at("data.db")), sampleText(2000));
    EXPECT_EQ(filesIn(out), (Names{"data.db", "kod.db"}));
}

#ifndef _WIN32
TEST_F(UnzLibTest, ASymlinkAtTheTargetIsReplacedNotFollowed)
{
    const std::string victim = tmp.path() + "/victim.txt";
    writeAll(victim, "precious");
    fs::create_symlink(fsPath(victim), fsPath(at("data.db")));
    make({member("data.db", "new")});
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(fsPath(at("data.db"))));
    EXPECT_EQ(readAll(at("data.db")), "new");
}
#endif

#ifdef __linux__
namespace {

// A mount namespace of this process's own, as root or through a user
// namespace; false when the system allows neither.
bool privateMounts()
{
    if (unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
    }
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

} // namespace

TEST_F(UnzLibTest, AMemberLargerThanTheFreeSpaceIsSkippedBeforeWriting)
{
    make({member("big.db", std::string(4 << 20, '\0')), member("small.db", "s")});
    // In a child with a 1 MiB file system mounted over the target folder.
    const pid_t child = fork();
    if (child == 0) {
        if (!privateMounts() || mount("tmpfs", out.c_str(), "tmpfs", 0, "size=1m") != 0)
            _exit(77);
        const bool sound = lib.run(archive, out) == 1 && filesIn(out) == Names{"small.db"} &&
                           lib.callsOf(UNZ_CB_SKIPPED).size() == 1 &&
                           lib.callsOf(UNZ_CB_SKIPPED)[0].error == UNZ_ERR_WRITE &&
                           lib.callsOf(UNZ_CB_SKIPPED)[0].text == "big.db" && lib.callsOf(UNZ_CB_PROGRESS).size() == 1;
        _exit(sound ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the big member was written, or more than it was refused";
}

TEST_F(UnzLibTest, ALargeMemberIsWrittenWholeOrTheOldFileStays)
{
    // Larger than the steps at which the file is flushed along the way, and
    // different in every mebibyte, so chunks written out of order show.
    std::string data(24 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = char('a' + (i >> 20));
    make({member("data.db", data)});
    writeAll(at("data.db"), "old");
    // A file size limit fails a write early, or only the last one, after
    // flushes along the way; without one the member is written.
    for (const rlim_t limit : {rlim_t(1) << 20, rlim_t(data.size() - 1), RLIM_INFINITY}) {
        SCOPED_TRACE(limit);
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{limit, limit};
            setrlimit(RLIMIT_FSIZE, &fileSize);
            const auto refused = [&] {
                const auto skipped = lib.callsOf(UNZ_CB_SKIPPED);
                return skipped.size() == 1 && skipped[0].error == UNZ_ERR_WRITE &&
                       lib.callsOf(UNZ_CB_MESSAGE).back().text == "data.db: cannot write " + at("data.db");
            };
            const int extracted = lib.run(archive, out);
            const bool sound = limit == RLIM_INFINITY ? extracted == 1 && readAll(at("data.db")) == data
                                                      : extracted == 0 && refused() && readAll(at("data.db")) == "old";
            _exit(sound && filesIn(out) == Names{"data.db"} ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST_F(UnzLibTest, AFileReplacedUnderAReaderStaysReadableAndNoHandleIsLeftOpen)
{
    const auto openHandles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    writeAll(at("data.db"), "old contents");
    make({member("data.db", "new contents"), member("kod.db", "k")});
    std::ifstream reader(at("data.db"), std::ios::binary);
    const auto before = openHandles();
    EXPECT_EQ(lib.run(archive, out), 2);
    EXPECT_EQ(openHandles(), before);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old contents");
    EXPECT_EQ(readAll(at("data.db")), "new contents");
}
#endif
