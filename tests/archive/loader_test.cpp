// Finding, checking and unloading the unzip library.
#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"
#include "archivetest.h"

#include <QCoreApplication>
#include <QMap>
#include <QWidget>

#include <functional>

namespace {

class Loader : public ArchiveTest {
protected:
    void SetUp() override
    {
        ArchiveTest::SetUp();
        build({member("data.db", "x")});
        programSettings();
        zip.setZipFileName(archive);
    }
    QString standin(const char *name) const { return QStringLiteral(STANDIN_DIR "/") + name; }
};

} // namespace

TEST_F(Loader, LibraryDirectorySettingStripsOneTrailingSeparator)
{
    zip.setLibDirectory("C:\\Program Files\\Sprav\\");
    EXPECT_EQ(zip.libDirectory(), "C:\\Program Files\\Sprav");
    zip.setLibDirectory("/opt/sprav/");
    EXPECT_EQ(zip.libDirectory(), "/opt/sprav");
    EXPECT_EQ(joinLibraryPath("dir\\", "\\unzlib"), "dir/unzlib");
    EXPECT_EQ(joinLibraryPath("dir", "unzlib"), "dir/unzlib");
    EXPECT_EQ(joinLibraryPath("A:", "unzlib"), "A:unzlib");
}

TEST_F(Loader, ProgramFolderServesWhenTheLibraryDirectoryHasNone)
{
    zip.setLibDirectory(tmp.path() + "\\");
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(QFileInfo(zip.unzLib().libraryPath()).absolutePath(), QCoreApplication::applicationDirPath());
}

TEST_F(Loader, DotDirectoryIsRelativeToTheProgram)
{
    // From the test binary's folder to a stand-in's folder.
    const QString relative = "./" + QDir(QCoreApplication::applicationDirPath()).relativeFilePath(standin("v171"));
    zip.setLibDirectory(relative);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    zip.Extract();
    QDir::setCurrent(previous);
    EXPECT_EQ(zip.errorCode(), reportids::LibraryVersionRefused);
    EXPECT_EQ(QFileInfo(zip.unzLib().libraryPath()).canonicalFilePath(),
              QFileInfo(standin("v171/libunzlib.so")).canonicalFilePath());
}

TEST_F(Loader, UnloadableLibraryIsReportedAndTheRequestKept)
{
    const QString broken = tmp.path() + "/lib";
    QDir().mkpath(broken);
    writeAll(broken + "/libunzlib.so", "not a library");
    zip.setLibDirectory(broken);

    EXPECT_EQ(zip.Extract(), reportids::LibraryNotLoadable);
    EXPECT_EQ(boxes, QStringList{exceptionText(reportids::LibraryNotLoadable, broken + "/libunzlib.so")});
    EXPECT_EQ(zip.fSpecArgs(), QStringList{"*.*"});
    EXPECT_FALSE(zip.unzLib().isLoaded());
    EXPECT_EQ(zip.unzLib().useReasons(), 0);
    EXPECT_FALSE(zip.isLibraryBusy());

    TUnzLib loader(&zip);
    try {
        loader.LoadFromPath(broken + "/libunzlib.so", true);
        ADD_FAILURE() << "no exception";
    } catch (const EZipExtractor &e) {
        EXPECT_EQ(e.id(), reportids::LibraryNotLoadable);
        EXPECT_EQ(e.textArgument(), broken + "/libunzlib.so");
        EXPECT_EQ(QString::fromUtf8(e.what()), exceptionText(reportids::LibraryNotLoadable, broken + "/libunzlib.so"));
    }
    EXPECT_EQ(loader.LoadFromPath(broken + "/libunzlib.so", false), 0);
}

TEST_F(Loader, VersionsOutsideTheAcceptedRangeAreRefused)
{
    for (const char *dir : {"v171", "v301"}) {
        SCOPED_TRACE(dir);
        boxes.clear();
        zip.setFSpecArgs(QStringList{"*.*"});
        zip.setLibDirectory(standin(dir));
        EXPECT_EQ(zip.Extract(), reportids::LibraryVersionRefused);
        EXPECT_EQ(boxes, QStringList{exceptionText(reportids::LibraryVersionRefused, standin(dir) + "/libunzlib.so")});
        EXPECT_FALSE(zip.unzLib().isLoaded());
        EXPECT_FALSE(libraryLoaded(standin(dir) + "/libunzlib.so"));
        EXPECT_EQ(zip.fSpecArgs(), QStringList{"*.*"});
    }
    // 171 loads (it is in 153..300) and only the extraction minimum refuses it.
    TUnzLib loader(&zip);
    EXPECT_EQ(loader.LoadFromPath(standin("v171/libunzlib.so"), true), 17300);
    EXPECT_EQ(loader.version(), 171);
    EXPECT_EQ(loader.LoadFromPath(standin("v301/libunzlib.so"), false), 0);
    EXPECT_FALSE(loader.isLoaded());
}

TEST_F(Loader, NegativeLibraryResultIsAFatalError)
{
    zip.setLibDirectory(standin("fatal"));
    EXPECT_EQ(zip.Extract(), reportids::FatalDllError);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::FatalDllError, "fatal Dll error")});
    EXPECT_EQ(zip.successCount(), 0);
    EXPECT_TRUE(zip.fSpecArgs().isEmpty());
    EXPECT_FALSE(zip.unzLib().isLoaded());
}

TEST_F(Loader, UseReasonsKeepTheLibraryUntilTheLastIsReleased)
{
    TUnzLib loader(&zip);
    EXPECT_GE(loader.LoadForUse(172, true), 172);
    EXPECT_EQ(loader.useReasons(), TZipLibLoader::UseKeep);
    loader.Acquire(TZipLibLoader::UseOperation);
    loader.Release(TZipLibLoader::UseKeep);
    EXPECT_TRUE(loader.isLoaded());
    loader.Release(TZipLibLoader::UseOperation);
    EXPECT_FALSE(loader.isLoaded());
    EXPECT_EQ(loader.version(), 0);
}

TEST_F(Loader, VerboseReportsLoadingAndUnloading)
{
    zip.setVerbose(true);
    QStringList messages;
    zip.OnMessage = [&](TZipExtractor &, int, const QString &text) { messages << text; };
    EXPECT_EQ(zip.Extract(), 0);
    ASSERT_GE(messages.size(), 2);
    EXPECT_EQ(messages.first(), reportText(reportids::LibraryLoaded, zip.unzLib().libraryPath()));
    EXPECT_EQ(messages.last(), reportText(reportids::LibraryUnloaded, zip.unzLib().libraryPath()));
}

TEST_F(Loader, ParameterRecordCarriesTheSettings)
{
    struct Row {
        const char *name;
        std::function<void(TZipExtractor &)> setup;
        QMap<QString, QString> expected;
    };
    const std::vector<Row> rows = {
        {"the program's settings",
         [](TZipExtractor &) {},
         {{"window", "1"},
          {"trace", "-1"},
          {"verbose", "-1"},
          {"r40", "-1"},
          {"overwrite", "-1"},
          {"count", "0"},
          {"specs", "-"},
          {"requests", "1"},
          {"directory", "-"},
          {"password", ""},
          {"update", "0"},
          {"end", "7"}}},
        {"unattended",
         [](TZipExtractor &z) {
             z.setUnattended(true);
             z.setPassword("pw");
         },
         {{"window", "0"}, {"password", "pw"}}},
        {"verbose without trace",
         [](TZipExtractor &z) {
             z.setTrace(false);
             z.setVerbose(true);
         },
         {{"trace", "0"}, {"verbose", "-1"}}},
        {"neither", [](TZipExtractor &z) { z.setTrace(false); }, {{"verbose", "0"}}},
        {"update clears freshen",
         [](TZipExtractor &z) { z.setExtrOptions(ExtrUpdate | ExtrFreshen); },
         {{"update", "-1"}, {"freshen", "0"}, {"overwrite", "0"}}},
        {"freshen",
         [](TZipExtractor &z) { z.setExtrOptions(ExtrFreshen | ExtrDirNames | ExtrTest); },
         {{"freshen", "-1"}, {"folders", "-1"}, {"test", "-1"}}},
        {"named members",
         [](TZipExtractor &z) {
             z.setFSpecArgs(QStringList{"kod.db", "*.*"});
         },
         {{"count", "2"}, {"specs", "kod.db"}}},
        {"request count", [](TZipExtractor &z) { z.setPasswordReqCount(20); }, {{"requests", "15"}}},
    };
    QWidget window;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TZipExtractor component(&window);
        component.setLibDirectory(standin("record"));
        component.setTrace(true);
        component.setFSpecArgs(QStringList{"*.*"});
        component.setExtrOptions(ExtrOverWrite);
        component.setZipFileName(archive);
        row.setup(component);
        QMap<QString, QString> fields;
        component.OnMessage = [&](TZipExtractor &, int, const QString &text) {
            for (const QString &field : text.split(';'))
                fields.insert(field.section('=', 0, 0), field.section('=', 1));
        };
        EXPECT_EQ(component.Extract(), 0);
        for (auto it = row.expected.begin(); it != row.expected.end(); ++it)
            EXPECT_EQ(fields.value(it.key(), "(missing)"), it.value()) << it.key().toStdString();
    }
}

TEST_F(Loader, TheLoadedLibraryIsKnownByItsFullPath)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(standin("record"));
    TUnzLib loader(&zip);
    loader.LoadFromPath("./libunzlib.so", true);
    EXPECT_EQ(loader.libraryPath(), QFileInfo(standin("record/libunzlib.so")).absoluteFilePath());
    QDir::setCurrent(previous);
}
