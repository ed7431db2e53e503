#include "appfixture.h"

#include "app/form1.h"
#include "archive/zipextractor.h"
#include "controls/flat/flatspeedbutton.h"
#include "windows/firstform.h"
#include "windows/forms.h"

#include <QFile>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// Start-up, the unpack at every activation, and what a missing archive does.

TEST_F(AppFixture, StartUpUnpacksBothTablesBeforeTheFirstSearch)
{
    start();
    EXPECT_TRUE(exists("data.db"));
    EXPECT_TRUE(exists("kod.db"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Телефонный справочник // Версия 1.00"));
}

TEST_F(AppFixture, MainWindowStartsCentredByTheFrameTheDesktopGaveIt)
{
    start();
    // No window had been framed before to tell the frame.
    const QRect frame = main().frameGeometry();
    const QRect desktop = main().screen()->availableGeometry();
    ASSERT_NE(frame, main().geometry());
    EXPECT_NEAR(frame.left() - desktop.left(), desktop.right() - frame.right(), 1);
    EXPECT_NEAR(frame.top() - desktop.top(), desktop.bottom() - frame.bottom(), 1);
}

TEST_F(AppFixture, ActivationDuringAnUnpackLeavesTheArchiveToTheRunningOne)
{
    start();
    QFile::remove(path("data.db"));
    QFile::remove(path("kod.db"));
    int extractions = 0;
    bool nested = false;
    main().ZipExtractor1->OnProgress = [&](TZipExtractor &, ProgressType type, const QString &, unsigned) {
        if (type == TotalFiles2Process)
            ++extractions;
        if (type == NewFile && !nested) {
            // A menu window opened and closed in the middle of the unpack.
            nested = true;
            QTimer::singleShot(0, [] { FirstForm->close(); });
            FirstForm->ShowModal();
            EXPECT_TRUE(main().unpacking());
        }
    };
    QTimer::singleShot(0, [] { FirstForm->close(); });
    FirstForm->ShowModal(); // its close activates the main window: one unpack
    settle();
    EXPECT_TRUE(nested);
    EXPECT_EQ(extractions, 1);
    EXPECT_TRUE(exists("data.db"));
    EXPECT_TRUE(exists("kod.db"));
    EXPECT_FALSE(main().unpacking());
}

class WithoutArchive : public AppFixture {
protected:
    WithoutArchive() { withArchive = false; }
};

TEST_F(WithoutArchive, MissingArchiveIsReportedOncePerActivationAndSearchFailsCleanly)
{
    start();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 0); // the archive component's own report window
    EXPECT_FALSE(exists("data.db"));

    QTimer::singleShot(0, [] { FirstForm->close(); });
    FirstForm->ShowModal();
    settle();
    EXPECT_EQ(shown.size(), 2u);

    main().FlatSpeedButton1->Click();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].style, platform::mbErrorOk);
    EXPECT_TRUE(shown[2].text.contains(QStringLiteral("data.db"))) << shown[2].text.toStdString();
    EXPECT_FALSE(main().Query1.active());
}

namespace {

// Makes a folder read-only for this test's process: to the administrator,
// whom permissions do not stop, by a read-only mount of it in a mount
// namespace of the process's own; to anyone else by its permissions.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder) : folder_(QFile::encodeName(folder))
    {
        if (geteuid() != 0) {
            made_ = chmod(folder_.constData(), 0555) == 0;
            return;
        }
        mounted_ = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   mount(folder_.constData(), folder_.constData(), nullptr, MS_BIND, nullptr) == 0;
        made_ =
            mounted_ && mount(nullptr, folder_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (mounted_)
            umount2(folder_.constData(), MNT_DETACH);
        else if (made_)
            chmod(folder_.constData(), 0700);
    }
    explicit operator bool() const { return made_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
    bool made_ = false;
};

} // namespace

TEST_F(AppFixture, AReadOnlyWorkingFolderIsToldOnceWithWhatFollows)
{
    const ReadOnlyFolder readOnly(path({}));
    if (!readOnly)
        GTEST_SKIP() << "no folder can be made read-only here";
    start();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, platform::mbExclamationOk);
    for (const char *said : {"нельзя записывать", "не удастся распаковать", "можно только просматривать"})
        EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(said))) << shown[0].text.toStdString();
    EXPECT_FALSE(exists("data.db"));

    // Activations that cannot unpack either add no report of their own.
    for (int again = 0; again < 2; ++again) {
        QTimer::singleShot(0, [] { FirstForm->close(); });
        FirstForm->ShowModal();
        settle();
    }
    EXPECT_EQ(shown.size(), 1u);
}
