#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Shell : ::testing::Test {
    void SetUp() override
    {
        setShellRecorder([this](const ShellRequest &r) { requests.append(r); });
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(previous);
        setShellRecorder({});
    }
    static void touch(const QString &name)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString previous;
    QList<ShellRequest> requests;
};

} // namespace

TEST_F(Shell, LinksGoToTheDesktopsHandlerAndMalformedOnesAreDropped)
{
    openUrl(QStringLiteral("https://example.org/"));
    openUrl(QStringLiteral("mailto:someone@example.org"));
    openUrl(QStringLiteral("no scheme here"));
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].kind, ShellRequest::OpenUrl);
    EXPECT_EQ(requests[0].target, QStringLiteral("https://example.org/"));
    EXPECT_EQ(requests[1].target, QStringLiteral("mailto:someone@example.org"));
}

TEST_F(Shell, HelpViewerOpensTheWorkingDirectorysHelpFileOnlyIfItExists)
{
    startHelpViewer(QStringLiteral("help.html"));
    EXPECT_TRUE(requests.isEmpty()); // silent without the file
    touch(QStringLiteral("help.html"));
    startHelpViewer(QStringLiteral("help.html"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].kind, ShellRequest::StartHelpViewer);
    EXPECT_EQ(requests[0].target, QDir(dir.path()).absoluteFilePath(QStringLiteral("help.html")));
}

TEST_F(Shell, DeleteFileRemovesFilesOnlyAndReportsWhatHappened)
{
    touch(QStringLiteral("data.db"));
    EXPECT_TRUE(deleteFile(QStringLiteral("data.db")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("data.db")));
    EXPECT_FALSE(deleteFile(QStringLiteral("data.db"))); // missing: no error
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("kod.db")));
    EXPECT_FALSE(deleteFile(QStringLiteral("kod.db"))); // a directory stays
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("kod.db")));
}

TEST_F(Shell, WithNoProgramToOpenThemLinksAndHelpSaySoInRussian)
{
    setShellRecorder({}); // offscreen, the desktop has no handler at all
    QList<ShownMessage> shown;
    setMessageAnswerer([&](const ShownMessage &m) { return shown.append(m), idOk; });
    touch(QStringLiteral("help.html"));
    openUrl(QStringLiteral("mailto:someone@example.org"));
    startHelpViewer(QStringLiteral("help.html"));
    setMessageAnswerer({});
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Не удалось открыть «mailto:someone@example.org»")));
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("Не удалось открыть справку «")));
    EXPECT_EQ(shown[1].style, mbExclamationOk);
}
