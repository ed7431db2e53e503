// Extract from start to end: what reaches the library, what comes back, and
// what the user sees.
#include "archive/zipmessageids.h"
#include "archivetest.h"
#include "support/zip64archive.h"

#include <QCoreApplication>

#include <algorithm>
#include <stdexcept>

namespace {

class Extract : public ArchiveTest {
protected:
    std::string big = std::string(300000, 'a') + "end";
};

} // namespace

TEST_F(Extract, UnpacksEveryMemberWithTheProgramSettings)
{
    build({member("data.db", big), member("kod.db", "codes")});
    writeAll(out + "/data.db", "old table");
    programSettings();
    zip.setZipFileName(archive);

    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(zip.successCount(), 2);
    EXPECT_EQ(readAll(out + "/data.db").toStdString(), big);
    EXPECT_EQ(readAll(out + "/kod.db"), "codes");
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(zip.fSpecArgs().isEmpty());
    EXPECT_FALSE(zip.unzLib().isLoaded());
    EXPECT_FALSE(libraryLoaded(zip.unzLib().libraryPath())) << "unloaded after every Extract";
    EXPECT_FALSE(zip.isUnzipBusy());
    EXPECT_FALSE(zip.isLibraryBusy());
}

TEST_F(Extract, WithoutBaseDirectoryMembersLandInTheCurrentFolder)
{
    build({member("folder/data.db", "x")});
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(out));
    zip.setExtrOptions(ExtrOverWrite);
    zip.setZipFileName(archive);
    const int result = zip.Extract();
    QDir::setCurrent(previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(out + "/data.db"), "x");
}

TEST_F(Extract, AFirstEntryOfStarDotStarMeansEveryMember)
{
    build({member("data.db", "d"), member("kod.db", "k"), member("readme", "r")});
    zip.setExtrBaseDir(out);
    zip.setExtrOptions(ExtrOverWrite);
    zip.setZipFileName(archive);

    zip.setFSpecArgs(QStringList{"*.*", "kod.db"});
    zip.Extract();
    EXPECT_EQ(zip.successCount(), 3);

    zip.setFSpecArgs(QStringList{"KOD.*"});
    zip.Extract();
    EXPECT_EQ(zip.successCount(), 1);

    // Written another way it is an ordinary specification: "readme" has no dot.
    zip.setFSpecArgs(QStringList{"*.* "});
    zip.Extract();
    EXPECT_EQ(zip.successCount(), 0);
    zip.setFSpecArgs(QStringList{"kod.db", "*.*"});
    zip.Extract();
    EXPECT_EQ(zip.successCount(), 2);
}

TEST_F(Extract, CrcMismatchKeepsTheOldFileAndReportsTheLibraryCode)
{
    zipwriter::Entry bad = member("data.db", "new data");
    bad.storedCrc = 7;
    build({bad, member("kod.db", "k")});
    writeAll(out + "/data.db", "old table");
    programSettings();
    zip.setZipFileName(archive);

    EXPECT_EQ(zip.Extract(), 6);
    EXPECT_EQ(readAll(out + "/data.db"), "old table");
    EXPECT_EQ(readAll(out + "/kod.db"), "k");
    EXPECT_EQ(zip.successCount(), 1);
    EXPECT_TRUE(boxes.isEmpty());

    bool asked = false;
    zip.OnCRC32Error = [&](TZipExtractor &, const QString &file, unsigned found, unsigned expected, bool &doExtract) {
        asked = file == "data.db" && found == zipwriter::crc32Of("new data") && expected == 7;
        doExtract = true;
    };
    zip.setFSpecArgs(QStringList{"*.*"});
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_TRUE(asked);
    EXPECT_EQ(readAll(out + "/data.db"), "new data");
}

TEST_F(Extract, EncryptedMemberAsksThroughTheDialog)
{
    zipwriter::Entry locked = member("data.db", big);
    locked.password = "Veresk";
    build({locked});
    programSettings();
    zip.setZipFileName(archive);
    PasswordAnswers answers;
    answers.add("Veresk", TPasswordDlg::pbOk);

    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(readAll(out + "/data.db").toStdString(), big);
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].caption, "Пароль");
    EXPECT_EQ(answers.seen[0].prompt, "Введите пароль:");
    EXPECT_EQ(answers.seen[0].buttons, 3);
    EXPECT_EQ(answers.seen[0].width, 407);
    EXPECT_TRUE(zip.password().isEmpty()) << "the entry goes to the library only";
}

TEST_F(Extract, WrongOrCancelledPasswordSkipsTheMember)
{
    zipwriter::Entry a = member("data.db", "a");
    a.password = "Veresk";
    zipwriter::Entry b = member("kod.db", "b");
    b.password = "Veresk";
    build({a, b});
    writeAll(out + "/data.db", "old");
    programSettings();
    zip.setZipFileName(archive);
    PasswordAnswers answers;
    answers.add("wrong", TPasswordDlg::pbOk);
    answers.add("", TPasswordDlg::pbCancel);

    EXPECT_EQ(zip.Extract(), 5);
    EXPECT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(readAll(out + "/data.db"), "old");
    EXPECT_FALSE(QFileInfo::exists(out + "/kod.db"));
    EXPECT_EQ(zip.successCount(), 0);

    // Cancel All: no more questions in this run.
    PasswordAnswers cancelAll;
    cancelAll.add("", TPasswordDlg::pbCancelAll);
    zip.setFSpecArgs(QStringList{"*.*"});
    EXPECT_EQ(zip.Extract(), 5);
    EXPECT_EQ(cancelAll.seen.size(), 1u);
    EXPECT_EQ(zip.passwordModalResult(), TPasswordDlg::mrCancelAll);
}

TEST_F(Extract, UnattendedWithoutAnyPasswordSource)
{
    zipwriter::Entry locked = member("data.db", "a");
    locked.password = "Veresk";
    build({locked, member("kod.db", "k")});
    programSettings();
    zip.setUnattended(true);
    zip.setPasswordReqCount(4);
    zip.setZipFileName(archive);

    EXPECT_EQ(zip.Extract(), 5);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(zip.successCount(), 1);
    EXPECT_EQ(zip.passwordReqCount(), 4u) << "put back after the run";

    // The report itself, before the library answers.
    QStringList reported;
    zip.OnMessage = [&](TZipExtractor &, int error, const QString &text) {
        if (error == 0)
            reported << text;
    };
    zip.setFSpecArgs(QStringList{"*.*"});
    zip.Extract();
    EXPECT_EQ(reported.value(0), reportText(reportids::UnattendedWithoutPassword));

    zip.setPassword("Veresk");
    zip.setFSpecArgs(QStringList{"*.*"});
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(readAll(out + "/data.db"), "a");
}

TEST_F(Extract, NestedExtractIsRefusedWhileWindowsStayLive)
{
    build({member("data.db", big), member("kod.db", "k")});
    programSettings();
    zip.setZipFileName(archive);
    int nested = 0;
    int relisted = -1;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    zip.OnProgress = [&](TZipExtractor &, ProgressType type, const QString &, unsigned) {
        if (type != NewFile || nested != 0)
            return;
        zip.setFSpecArgs(zip.fSpecArgs() << "nested");
        nested = zip.Extract();
        zip.setZipFileName(archive); // re-reads even while busy
        relisted = zip.count();
    };

    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(nested, -255);
    EXPECT_EQ(relisted, 2);
    EXPECT_TRUE(timerRan) << "pending events run during the extraction";
    EXPECT_EQ(zip.successCount(), 2);
    EXPECT_TRUE(zip.fSpecArgs().isEmpty());
}

TEST_F(Extract, ExceptionInAHandlerAbortsTheRun)
{
    build({member("data.db", big), member("kod.db", "k")});
    programSettings();
    zip.setZipFileName(archive);
    zip.OnProgress = [](TZipExtractor &, ProgressType type, const QString &, unsigned) {
        if (type == NewFile)
            throw std::runtime_error("boom");
    };

    EXPECT_EQ(zip.Extract(), 9);
    EXPECT_EQ(zip.eventErrorText(), " #1 \"boom\"");
    EXPECT_EQ(zip.lastMessage(), "Exception in Event  #1 \"boom\"");
    EXPECT_FALSE(QFileInfo::exists(out + "/data.db"));
    EXPECT_FALSE(zip.isCancelRequested());
}

TEST_F(Extract, BaseDirectoryMustExistUnlessForced)
{
    build({member("data.db", "x")});
    zip.setZipFileName(archive);
    zip.setExtrBaseDir(tmp.path() + "/new/deeper");
    zip.setFSpecArgs(QStringList{"*.*"});

    EXPECT_EQ(zip.Extract(), reportids::NoExtractDirectory);
    EXPECT_EQ(boxes, QStringList{exceptionText(reportids::NoExtractDirectory, zip.extrBaseDir())});
    EXPECT_TRUE(zip.fSpecArgs().isEmpty()) << "the library was loaded, so the list is emptied";

    zip.setExtrOptions(ExtrForceDirs);
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(readAll(tmp.path() + "/new/deeper/data.db"), "x");
}

TEST_F(Extract, FolderNamesOnKeepTheArchiveFolders)
{
    build({member("dir/sub/data.db", "x"), member("../escape.db", "y")});
    programSettings();
    zip.setExtrOptions(ExtrOverWrite | ExtrDirNames);
    zip.setZipFileName(archive);
    std::vector<std::pair<QString, UnZipSkipTypes>> skipped;
    zip.OnExtractSkipped = [&](TZipExtractor &, const QString &file, UnZipSkipTypes type, int) {
        skipped.emplace_back(file, type);
    };
    EXPECT_EQ(zip.Extract(), 8);
    EXPECT_EQ(readAll(out + "/dir/sub/data.db"), "x");
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/escape.db"));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].first, "..\\escape.db");
    EXPECT_EQ(skipped[0].second, stGeneralExtractError);
}

TEST_F(Extract, RefusedOverwriteGoesThroughTheHandler)
{
    build({member("data.db", "new")});
    writeAll(out + "/data.db", "old");
    zip.setExtrBaseDir(out);
    zip.setZipFileName(archive);
    bool defaultDecision = true;
    zip.OnExtractOverwrite = [&](TZipExtractor &, const QString &, bool, bool &doOverwrite, int dirIndex) {
        defaultDecision = doOverwrite;
        EXPECT_EQ(dirIndex, 0);
    };
    std::vector<UnZipSkipTypes> skipped;
    zip.OnExtractSkipped = [&](TZipExtractor &, const QString &, UnZipSkipTypes type, int) { skipped.push_back(type); };

    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_FALSE(defaultDecision);
    EXPECT_EQ(skipped, std::vector<UnZipSkipTypes>{stNoOverwrite});
    EXPECT_EQ(readAll(out + "/data.db"), "old");
}

TEST_F(Extract, CleanUpRunsWhateverEndsTheRun)
{
    zipwriter::Entry locked = member("kod.db", "k");
    locked.password = "Veresk";
    build({member("data.db", big), locked});
    using Setup = std::function<void(TZipExtractor &)>;
    const std::vector<std::pair<const char *, Setup>> cancels = {
        {"OnAfterCallback aborts",
         [](TZipExtractor &z) { z.OnAfterCallback = [](CallBackInfo &, bool &abort) { abort = true; }; }},
        {"a handler throws",
         [](TZipExtractor &z) {
             z.OnProgress = [](TZipExtractor &, ProgressType, const QString &, unsigned) {
                 throw std::runtime_error("boom");
             };
         }},
        {"password answered with abort",
         [](TZipExtractor &z) {
             z.OnPasswordError = [](TZipExtractor &, bool, QString &, const QString &, unsigned &,
                                    TPasswordButton &action) { action = pwbAbort; };
         }},
        {"OnMessage throws",
         [](TZipExtractor &z) {
             z.OnMessage = [](TZipExtractor &, int, const QString &) { throw std::runtime_error("report failed"); };
         }},
    };
    for (const auto &[name, setup] : cancels) {
        SCOPED_TRACE(name);
        TZipExtractor component;
        component.setVerbose(true);
        component.setFSpecArgs(QStringList{"*.*"});
        component.setExtrBaseDir(out);
        component.setExtrOptions(ExtrOverWrite);
        component.setZipFileName(archive);
        setup(component);
        try {
            component.Extract();
        } catch (const std::runtime_error &) {
            // a handler's own exception passes on once the component is idle
        }
        EXPECT_FALSE(component.isUnzipBusy());
        EXPECT_FALSE(component.isLibraryBusy());
        EXPECT_FALSE(component.isCancelRequested());
        EXPECT_FALSE(component.unzLib().isLoaded());
        EXPECT_FALSE(libraryLoaded(component.unzLib().libraryPath()));

        component.OnAfterCallback = nullptr;
        component.OnProgress = nullptr;
        component.OnPasswordError = nullptr;
        component.OnMessage = nullptr;
        component.setFSpecArgs(QStringList{"data.db"});
        EXPECT_EQ(component.Extract(), 0) << "the next run is not refused as busy";
    }
}

TEST_F(Extract, DestroyedDuringTheCallUnloadsOnlyAfterTheCallReturns)
{
    build({member("data.db", big), member("kod.db", "k")});
    auto *component = new TZipExtractor;
    component->setFSpecArgs(QStringList{"*.*"});
    component->setExtrBaseDir(out);
    component->setExtrOptions(ExtrOverWrite);
    component->setZipFileName(archive);
    QString library;
    bool loadedAfterDelete = false;
    component->OnProgress = [&](TZipExtractor &, ProgressType type, const QString &, unsigned) {
        if (type != NewFile || !library.isEmpty())
            return;
        library = component->unzLib().libraryPath();
        // The window that owns it closes while the library is at work.
        QTimer::singleShot(0, [&] {
            delete component;
            loadedAfterDelete = libraryLoaded(library);
        });
    };

    EXPECT_EQ(component->Extract(), TZipExtractor::Destroyed);
    EXPECT_TRUE(loadedAfterDelete);
    EXPECT_FALSE(libraryLoaded(library));
    EXPECT_FALSE(QFileInfo::exists(out + "/kod.db")) << "the library aborted";
}

TEST_F(Extract, UnattendedRunWithNothingEncryptedSucceeds)
{
    build({member("data.db", "d"), member("kod.db", "k")});
    programSettings();
    zip.setUnattended(true);
    zip.setZipFileName(archive);
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(zip.successCount(), 2);
}

TEST_F(Extract, ASecondComponentExtractingMeanwhileLeavesTheFirstsRunWhole)
{
    build({member("data.db", big), member("kod.db", "k")});
    const QString apart = tmp.path() + "/apart";
    QDir().mkpath(apart);
    for (const QString &secondFolder : {out, apart}) {
        SCOPED_TRACE(secondFolder.toStdString());
        programSettings();
        zip.setZipFileName(archive);
        TZipExtractor second;
        second.setFSpecArgs(QStringList{"kod.db"});
        second.setExtrOptions(ExtrOverWrite);
        second.setExtrBaseDir(secondFolder);
        second.setZipFileName(archive);
        int secondResult = -1;
        zip.OnProgress = [&](TZipExtractor &, ProgressType type, const QString &, unsigned) {
            // The second run sweeps the folder and unloads its library at its end.
            if (type == ProgressUpdate && secondResult < 0)
                secondResult = second.Extract();
        };
        EXPECT_EQ(zip.Extract(), 0);
        EXPECT_EQ(secondResult, 0);
        EXPECT_EQ(zip.successCount(), 2);
        EXPECT_EQ(readAll(out + "/data.db").toStdString(), big);
        EXPECT_EQ(filesIn(out), (QStringList{"data.db", "kod.db"}));
        zip.OnProgress = nullptr;
    }
}

TEST_F(Extract, AHandlerThatReplacesItsOwnEventRunsToItsEnd)
{
    zipwriter::Entry locked = member("kod.db", "k");
    locked.password = "Veresk";
    build({member("data.db", "d"), locked});
    programSettings();
    zip.setVerbose(true);
    // Each handler clears its event, then reads what it captured: the
    // callable must outlive that.
    std::vector<std::string> finished;
    const std::string capture(200, 'c');
    auto done = [&finished](const std::string &what, const std::string &captured) {
        if (captured.size() == 200)
            finished.push_back(what);
    };
    zip.OnDirUpdate = [&, capture](TZipExtractor &z) {
        z.OnDirUpdate = nullptr;
        done("OnDirUpdate", capture);
    };
    zip.OnNewName = [&, capture](TZipExtractor &z, int, const ZipDirEntry &) {
        z.OnNewName = nullptr;
        done("OnNewName", capture);
    };
    zip.setZipFileName(archive);
    zip.OnProgress = [&, capture](TZipExtractor &z, ProgressType, const QString &, unsigned) {
        z.OnProgress = nullptr;
        done("OnProgress", capture);
    };
    zip.OnMessage = [&, capture](TZipExtractor &z, int, const QString &) {
        z.OnMessage = nullptr;
        done("OnMessage", capture);
    };
    zip.OnSetNewName = [&, capture](TZipExtractor &z, QString &, bool &) {
        z.OnSetNewName = nullptr;
        done("OnSetNewName", capture);
    };
    zip.OnPasswordError = [&, capture](TZipExtractor &z, bool, QString &password, const QString &, unsigned &,
                                       TPasswordButton &) {
        z.OnPasswordError = nullptr;
        password = "Veresk";
        done("OnPasswordError", capture);
    };
    zip.OnAfterCallback = [&, capture](CallBackInfo &info, bool &) {
        info.component->OnAfterCallback = nullptr;
        done("OnAfterCallback", capture);
    };
    EXPECT_EQ(zip.Extract(), 0);
    std::sort(finished.begin(), finished.end());
    EXPECT_EQ(finished, (std::vector<std::string>{"OnAfterCallback", "OnDirUpdate", "OnMessage", "OnNewName",
                                                  "OnPasswordError", "OnProgress", "OnSetNewName"}));
}

TEST_F(Extract, ASpannedSetIsJoinedForTheRunAndTheJoinedFileRemoved)
{
    using zip64archive::get;
    using zip64archive::set;
    zipwriter::Writer w;
    w.add(member("data.db", big));
    w.add(member("kod.db", "k"));
    const std::string whole = w.finish();
    // Two parts: the marker and data.db in basa.z01; kod.db, the directory
    // and the end record in basa.tel, with offsets counted per part.
    const std::size_t start = get(whole, whole.size() - 6, 4);
    const std::size_t second = whole.find("PK\x01\x02", start + 4);
    const std::size_t split = get(whole, second + 42, 4);
    std::string last = whole.substr(split);
    set(last, start - split + 42, 4, 4);
    set(last, second - split + 34, 1, 2);
    set(last, second - split + 42, 0, 4);
    set(last, last.size() - 18, 1, 2);
    set(last, last.size() - 16, 1, 2);
    set(last, last.size() - 6, start - split, 4);
    writeAll(tmp.path() + "/basa.z01", std::string("PK\x07\x08", 4) + whole.substr(0, split));
    writeAll(archive, last);
    const QString temp = tmp.path() + "/temp";
    QDir().mkpath(temp);
    programSettings();
    zip.setTempDir(temp);
    zip.setZipFileName(archive);
    EXPECT_TRUE(zip.archiveFacts().spanned);
    EXPECT_EQ(zip.count(), 2);

    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(readAll(out + "/data.db").toStdString(), big);
    EXPECT_EQ(readAll(out + "/kod.db"), "k");
    EXPECT_TRUE(filesIn(temp).isEmpty());

    QFile::remove(tmp.path() + "/basa.z01");
    zip.setFSpecArgs(QStringList{"*.*"});
    EXPECT_EQ(zip.Extract(), reportids::SpannedPartMissing);
    EXPECT_EQ(boxes.last(), messageTableText(reportids::SpannedPartMissing).replace("%d", "1"));
    EXPECT_TRUE(filesIn(temp).isEmpty());
}
