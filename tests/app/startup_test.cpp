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
