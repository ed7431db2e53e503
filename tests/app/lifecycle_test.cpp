#include "appfixture.h"

#include "app/form1.h"
#include "archive/zipextractor.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/sidebar/sidebar.h"
#include "data/table.h"
#include "platform/shell.h"
#include "windows/aboutform.h"
#include "windows/firstform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"
#include <QListWidget>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <vector>

#include <stdexcept>

// Returning from other windows, Alt+F4, and leaving the program.

namespace {

// Opens the emergency numbers window and closes it again, which activates
// the main window (and its unpack) once more.
void visitAnotherWindow(TForm1 &main)
{
    QTimer::singleShot(0, [] { FirstForm->close(); });
    main.SideBarItemClick(*main.SideBar, main.SideBar->groups()[0]->items()[0]);
}

QByteArray contentsOf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(AppFixture, ClosingAModalWindowEmptiesTheFieldsKeepsTheResultAndUnpacksAgain)
{
    start();
    main().Edit1->setText(QStringLiteral("1"));
    main().FlatSpeedButton1->Click();
    const int found = main().Query1.recordCount();
    ASSERT_GT(found, 0);
    main().Edit2->setText(QStringLiteral("А"));
    QFile::remove(path("kod.db"));

    QTimer::singleShot(0, [] { FirstForm->close(); });
    main().SideBarItemClick(*main().SideBar, main().SideBar->groups()[0]->items()[0]);
    settle();

    EXPECT_TRUE(main().Edit1->text().isEmpty());
    EXPECT_TRUE(main().Edit2->text().isEmpty());
    EXPECT_TRUE(main().Query1.active());
    EXPECT_EQ(main().Query1.recordCount(), found);
    EXPECT_TRUE(exists("kod.db"));
    EXPECT_EQ(main().focusWidget(), main().Edit1);
}

TEST_F(AppFixture, MenuItemsTaggedTwoToFiveOpenTheirWindowsAndTheHelp)
{
    start();
    QFile help(path(QStringLiteral("help.html")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    std::vector<platform::ShellRequest> started;
    platform::setShellRecorder([&](const platform::ShellRequest &request) { started.push_back(request); });
    struct Row {
        int tag;
        QWidget *window; // none for the help viewer
    };
    const Row rows[] = {{2, KnigaForm}, {3, KodForm}, {4, AboutForm}, {5, nullptr}};
    TSideBar &bar = *main().SideBar;
    for (const Row &row : rows) {
        TSideBarItem *item = bar.groups()[0]->items()[row.tag - 1];
        ASSERT_EQ(item->Tag, row.tag);
        // A point of the item as the bar lays it out, clicked as a user would.
        QPoint point(bar.width() / 2, 0);
        while (point.y() < bar.height() && bar.itemAt(point) != item)
            point.ry() += 2;
        QWidget *opened = nullptr;
        if (row.window)
            QTimer::singleShot(0, [&opened] {
                opened = QApplication::activeModalWidget();
                if (opened)
                    opened->close();
            });
        QTest::mouseClick(&bar, Qt::LeftButton, {}, point);
        settle();
        EXPECT_EQ(opened, row.window) << "tag " << row.tag;
    }
    platform::setShellRecorder({});
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].kind, platform::ShellRequest::StartHelpViewer);
    EXPECT_EQ(started[0].target, help.fileName());
}

TEST_F(AppFixture, AltF4DoesNothingInTheMainWindowButClosesAModalOne)
{
    start();
    QTest::keyClick(main().Edit1, Qt::Key_F4, Qt::AltModifier);
    settle();
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(shown.empty());

    bool closedByKey = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(FirstForm->ListBox1, Qt::Key_F4, Qt::AltModifier);
        closedByKey = !FirstForm->isVisible();
        if (!closedByKey)
            FirstForm->close();
    });
    FirstForm->ShowModal();
    EXPECT_TRUE(closedByKey);
    EXPECT_TRUE(shown.empty());
    // Offscreen, the keyboard's state is the last key event's modifiers, and
    // the release of Alt carries Alt: a later test would find it held.
    QTest::keyRelease(&main(), Qt::Key_Alt, Qt::NoModifier);
}

TEST_F(AppFixture, NoToTheExitQuestionDeletesNothing)
{
    start();
    main().close();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, platform::mbQuestionYesNo);
    EXPECT_EQ(shown[0].text, QStringLiteral("Вы действительно хотите выйти из программы?"));
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(exists("data.db"));
    EXPECT_TRUE(exists("kod.db"));
}

TEST_F(AppFixture, YesToTheExitQuestionDeletesTheUnpackedTablesOnly)
{
    start();
    answer = [](const platform::ShownMessage &) { return platform::idYes; };
    main().close();
    EXPECT_FALSE(exists("data.db"));
    EXPECT_FALSE(exists("kod.db"));
    EXPECT_TRUE(exists("basa.tel"));
    EXPECT_TRUE(exists("basamy.db"));
    EXPECT_FALSE(KnigaForm->Table1.active());
}

TEST_F(AppFixture, EveryActivationReplacesStaleTables)
{
    start();
    const QByteArray unpacked = contentsOf(path("data.db"));
    ASSERT_FALSE(unpacked.isEmpty());
    QFile stale(path("data.db"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stale.write("stale");
    stale.close();
    visitAnotherWindow(main());
    settle();
    EXPECT_EQ(contentsOf(path("data.db")), unpacked);
}

TEST_F(AppFixture, AnExitConfirmedDuringAnUnpackDeletesTheTablesAfterIt)
{
    start();
    answer = [](const platform::ShownMessage &) { return platform::idYes; };
    int callsAfterExit = -1; // until the exit is confirmed
    main().ZipExtractor1->OnProgress = [&](TZipExtractor &, ProgressType, const QString &, unsigned) {
        if (callsAfterExit++ < 0)
            main().close(); // the user's close, let through by the unpack's first call-back
    };
    visitAnotherWindow(main());
    settle();
    EXPECT_GT(callsAfterExit, 0) << "the unpack ran on after the exit";
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(exists("data.db"));
    EXPECT_FALSE(exists("kod.db"));
    EXPECT_TRUE(exists("basa.tel"));
    EXPECT_TRUE(exists("basamy.db"));
}

TEST_F(AppFixture, AnUnpackThatThrowsLeavesLaterUnpacksAndTheExitWorking)
{
    start();
    main().ZipExtractor1->OnDirUpdate = [](TZipExtractor &) { throw std::runtime_error("Архив недоступен"); };
    visitAnotherWindow(main());
    settle();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, platform::mbErrorOk);
    EXPECT_EQ(shown[0].text, QStringLiteral("Архив недоступен"));

    main().ZipExtractor1->OnDirUpdate = {};
    QFile::remove(path("data.db"));
    visitAnotherWindow(main());
    settle();
    EXPECT_TRUE(exists("data.db")) << "the next activation unpacks again";

    // The exit is confirmed while an unpack runs, and then the unpack throws.
    answer = [](const platform::ShownMessage &) { return platform::idYes; };
    main().ZipExtractor1->OnAfterCallback = [this](CallBackInfo &, bool &) {
        if (main().isVisible())
            main().close();
        throw std::runtime_error("Сбой во время распаковки");
    };
    visitAnotherWindow(main());
    settle();
    EXPECT_EQ(shown.back().text, QStringLiteral("Сбой во время распаковки"));
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(exists("data.db"));
    EXPECT_FALSE(exists("kod.db"));
}

TEST_F(AppFixture, ARefusedUnpackKeepsItsRequestAndTheNextAddsItsOwn)
{
    start();
    QFile::remove(path("basa.tel"));
    for (int visit = 0; visit < 2; ++visit) {
        visitAnotherWindow(main());
        settle();
    }
    EXPECT_EQ(main().ZipExtractor1->fSpecArgs(), (QStringList{"*.*", "*.*"}));
}
