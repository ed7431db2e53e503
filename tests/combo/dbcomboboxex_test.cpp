#include "controls/combo/dbcomboboxex.h"
#include "controls/combo/editbuttoncontrol.h"
#include "controls/combo/popuplistbox.h"
#include "platform/fonts.h"

#include <QClipboard>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList kRegions{QStringLiteral("БРЕСТСКАЯ"),   QStringLiteral("ВИТЕБСКАЯ"), QStringLiteral("ГОМЕЛЬСКАЯ"),
                           QStringLiteral("ГРОДНЕНСКАЯ"), QStringLiteral("МИНСКАЯ"),   QStringLiteral("МОГИЛЕВСКАЯ")};

// The region field of the dialing codes window, with a second edit beside it
// to move the focus to.
struct RegionCombo : ::testing::Test {
    QWidget window;
    TDBComboBoxEx *combo = new TDBComboBoxEx(&window);
    QLineEdit *other = new QLineEdit(&window);

    void SetUp() override
    {
        window.setFont(platform::defaultFont());
        window.resize(400, 300);
        combo->setGeometry(16, 40, 169, 21);
        combo->setCharCase(TDBComboBoxEx::ecUpperCase);
        combo->setItems(kRegions);
        other->setGeometry(200, 40, 100, 21);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        combo->setFocus();
    }

    // Types characters as a keyboard layout delivers them: any letter, the
    // key code left unknown.
    void type(const QString &s)
    {
        for (const QChar c : s)
            QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(combo, k, mods); }
    static void wheel(QWidget *target, int delta, Qt::KeyboardModifiers mods = {})
    {
        const QPoint pos(20, 10);
        QWheelEvent event(pos, target->mapToGlobal(pos), {}, {0, delta}, Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    QStringList longList() const
    {
        QStringList many = kRegions;
        for (int i = 1; i <= 6; ++i)
            many << QStringLiteral("РАЙОН %1").arg(i);
        return many;
    }
    static void activate(QWidget &w)
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    QPoint buttonCentre() const { return combo->button()->rect().center(); }
    QPoint rowCentre(int row) const
    {
        return combo->list()->viewport()->mapToGlobal(combo->list()->visualItemRect(combo->list()->item(row)).center());
    }
};

} // namespace

TEST_F(RegionCombo, GeometryOfTheEdit)
{
    EXPECT_EQ(combo->height(), 21);
    const QRect button = combo->button()->geometry();
    EXPECT_EQ(button.right(), 169 - 2 - 1);
    EXPECT_EQ(button.top(), 2);
    EXPECT_EQ(button.height(), 17);
    EXPECT_EQ(combo->textMargins().right(), button.width());
}

TEST_F(RegionCombo, TypingCompletesAndBackspaceRemovesTheCompletion)
{
    type(QStringLiteral("М"));
    EXPECT_EQ(combo->text(), QStringLiteral("МИНСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("ИНСКАЯ"));
    EXPECT_EQ(combo->cursorPosition(), 1);
    EXPECT_EQ(combo->itemIndex(), 4);

    type(QStringLiteral("О"));
    EXPECT_EQ(combo->text(), QStringLiteral("МОГИЛЕВСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("ГИЛЕВСКАЯ"));
    EXPECT_EQ(combo->itemIndex(), 5);

    key(Qt::Key_Backspace);
    EXPECT_EQ(combo->text(), QStringLiteral("МО"));
    EXPECT_EQ(combo->itemIndex(), -1);
}

TEST_F(RegionCombo, LowerCaseIsTypedAsCapitalsAndMatched)
{
    type(QStringLiteral("в"));
    EXPECT_EQ(combo->text(), QStringLiteral("ВИТЕБСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("ИТЕБСКАЯ"));
}

TEST_F(RegionCombo, CompletionTakesTheFirstItemInListOrder)
{
    type(QStringLiteral("Г"));
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ"));
    type(QStringLiteral("Р"));
    EXPECT_EQ(combo->text(), QStringLiteral("ГРОДНЕНСКАЯ"));
    EXPECT_EQ(combo->itemIndex(), 3);
}

TEST_F(RegionCombo, UnmatchedTextStaysWithNoIndex)
{
    type(QStringLiteral("минск-2"));
    EXPECT_EQ(combo->text(), QStringLiteral("МИНСК-2"));
    EXPECT_EQ(combo->itemIndex(), -1);
    // A dot and Ctrl-typed characters do not complete.
    combo->clear();
    type(QStringLiteral("."));
    EXPECT_EQ(combo->text(), QStringLiteral("."));
}

TEST_F(RegionCombo, TypingInsideTheTextDoesNotComplete)
{
    combo->setText(QStringLiteral("МНСКАЯ"));
    combo->setCursorPosition(1);
    type(QStringLiteral("и"));
    EXPECT_EQ(combo->text(), QStringLiteral("МИНСКАЯ"));
    EXPECT_EQ(combo->itemIndex(), 4);
    EXPECT_FALSE(combo->hasSelectedText());
}

TEST_F(RegionCombo, ItemIndexRules)
{
    combo->setItemIndex(2);
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ"));

    combo->setItemIndex(4);
    combo->setItemIndex(-1);
    EXPECT_EQ(combo->text(), QString());

    type(QStringLiteral("ЯЯЯ"));
    combo->setItemIndex(-1);
    EXPECT_EQ(combo->text(), QStringLiteral("ЯЯЯ"));

    combo->setItemIndex(2);
    combo->setItemIndex(17);
    EXPECT_EQ(combo->text(), QString());
    EXPECT_EQ(combo->itemIndex(), -1);
}

TEST_F(RegionCombo, UpAndDownStepThroughTheItems)
{
    key(Qt::Key_Down);
    EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("БРЕСТСКАЯ"));
    key(Qt::Key_Up);
    EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ")); // stays at the first

    combo->setItemIndex(-1);
    key(Qt::Key_Up);
    EXPECT_EQ(combo->text(), QStringLiteral("МОГИЛЕВСКАЯ"));
    key(Qt::Key_Down);
    EXPECT_EQ(combo->text(), QStringLiteral("МОГИЛЕВСКАЯ")); // stays at the last
}

TEST_F(RegionCombo, ReadOnlyEditIsNotSteppedNorCompleted)
{
    combo->setReadOnly(true);
    key(Qt::Key_Down);
    type(QStringLiteral("М"));
    EXPECT_EQ(combo->text(), QString());
}

TEST_F(RegionCombo, EscapeReturnsToTheCommittedText)
{
    combo->setItemIndex(1);
    key(Qt::Key_Down);
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ"));
    key(Qt::Key_Escape);
    EXPECT_EQ(combo->text(), QStringLiteral("ВИТЕБСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("ВИТЕБСКАЯ"));

    // Leaving the edit for another control commits what it shows.
    key(Qt::Key_Down);
    other->setFocus(Qt::TabFocusReason);
    combo->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Down);
    key(Qt::Key_Escape);
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ"));
}

TEST_F(RegionCombo, AltDownOpensWithTheCurrentItemAndEnterTakesTheSelection)
{
    combo->setItemIndex(2);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->listShown());
    EXPECT_EQ(combo->list()->currentRow(), 2);
    EXPECT_EQ(combo->list()->count(), 6);
    EXPECT_TRUE(combo->hasFocus());
    EXPECT_TRUE(combo->button()->looksPressed());

    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ")); // the list moves, not the text
    key(Qt::Key_Return);
    EXPECT_FALSE(combo->listShown());
    EXPECT_FALSE(combo->button()->looksPressed());
    EXPECT_EQ(combo->text(), QStringLiteral("МИНСКАЯ"));
    EXPECT_EQ(combo->selectedText(), QStringLiteral("МИНСКАЯ"));
}

TEST_F(RegionCombo, EscapeAndAltDownCloseWithoutTakingTheSelection)
{
    combo->setItemIndex(0);
    for (auto close : {Qt::Key_Escape, Qt::Key_Down}) {
        key(Qt::Key_Down, Qt::AltModifier);
        key(Qt::Key_Down);
        key(close, close == Qt::Key_Down ? Qt::AltModifier : Qt::NoModifier);
        EXPECT_FALSE(combo->listShown());
        EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ"));
    }
}

TEST_F(RegionCombo, TypingWhileOpenMovesTheListSelection)
{
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(combo->list()->currentRow(), -1);
    type(QStringLiteral("гр"));
    EXPECT_EQ(combo->list()->currentRow(), 3);
    EXPECT_TRUE(combo->listShown());
}

TEST_F(RegionCombo, F4AndEnterDoNothingWhileClosed)
{
    combo->setItemIndex(1);
    key(Qt::Key_F4);
    EXPECT_FALSE(combo->listShown());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(combo, &enter);
    EXPECT_FALSE(enter.isAccepted()); // left to the window
    EXPECT_EQ(combo->text(), QStringLiteral("ВИТЕБСКАЯ"));
}

TEST_F(RegionCombo, ListIsSixRowsAsWideAsTheEditBelowIt)
{
    combo->OpenList();
    const QRect list = combo->list()->geometry();
    const QRect edit(combo->mapToGlobal(QPoint(0, 0)), combo->size());
    EXPECT_EQ(list.width(), 169);
    EXPECT_EQ(list.height(), 6 * 13 + 4);
    EXPECT_EQ(list.topLeft(), edit.bottomLeft() + QPoint(0, 1));
    EXPECT_FALSE(combo->list()->verticalScrollBar()->isVisible());
}

TEST_F(RegionCombo, ListOpensAboveNearTheBottomOfTheWorkArea)
{
    const QRect work = combo->screen()->availableGeometry();
    window.move(window.x(), work.bottom() - 80);
    QCoreApplication::processEvents();
    combo->OpenList();
    const QRect list = combo->list()->geometry();
    EXPECT_EQ(list.bottom() + 1, combo->mapToGlobal(QPoint(0, 0)).y());
}

TEST_F(RegionCombo, ButtonClickOpensAndASecondClickCloses)
{
    other->setFocus();
    QTest::mouseClick(combo->button(), Qt::LeftButton, {}, buttonCentre());
    EXPECT_TRUE(combo->listShown());
    EXPECT_TRUE(combo->hasFocus());
    QTest::mouseClick(combo->button(), Qt::LeftButton, {}, buttonCentre());
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(combo->text(), QString());
}

TEST_F(RegionCombo, PressDragIntoTheListAndReleaseOnARowTakesIt)
{
    QTest::mousePress(combo->button(), Qt::LeftButton, {}, buttonCentre());
    ASSERT_TRUE(combo->listShown());
    const QPoint row = combo->button()->mapFromGlobal(rowCentre(3));
    QTest::mouseMove(combo->button(), row);
    EXPECT_EQ(combo->list()->currentRow(), 3);
    QTest::mouseRelease(combo->button(), Qt::LeftButton, {}, row);
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(combo->text(), QStringLiteral("ГРОДНЕНСКАЯ"));
}

TEST_F(RegionCombo, ClickingARowOfTheOpenListTakesIt)
{
    combo->OpenList();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->list()));
    auto *viewport = combo->list()->viewport();
    const QPoint row = viewport->mapFromGlobal(rowCentre(5));
    // A plain move straight to the list: the offscreen platform routes
    // synthetic cursor moves by position to the window beneath it.
    QMouseEvent move(QEvent::MouseMove, row, viewport->mapToGlobal(row), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    EXPECT_EQ(combo->list()->currentRow(), 5);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, row);
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(combo->text(), QStringLiteral("МОГИЛЕВСКАЯ"));
}

TEST_F(RegionCombo, PressOnAnotherControlClosesWithoutTaking)
{
    combo->setItemIndex(0);
    combo->OpenList();
    combo->list()->setCurrentRow(4);
    QTest::mousePress(other, Qt::LeftButton, {}, {5, 5});
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ"));
}

TEST_F(RegionCombo, WheelStepsTheClosedEdit)
{
    wheel(combo, -120);
    wheel(combo, -120);
    EXPECT_EQ(combo->text(), QStringLiteral("ВИТЕБСКАЯ"));
    wheel(combo, 120);
    EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ"));
    wheel(combo, -120, Qt::ControlModifier);
    EXPECT_EQ(combo->text(), QStringLiteral("БРЕСТСКАЯ"));
}

// A high-resolution wheel or touch pad sends parts of a notch.
TEST_F(RegionCombo, WheelStepsOncePerWholeNotchClosedAndOpen)
{
    const int deltas[] = {-60, -60, -240, 30};
    const QString closedTexts[] = {QString(), kRegions[0], kRegions[2], kRegions[2]};
    for (int i = 0; i < 4; ++i) {
        wheel(combo, deltas[i]);
        EXPECT_EQ(combo->text(), closedTexts[i]) << i;
    }

    combo->setItems(longList());
    combo->OpenList();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->list()));
    auto *scroll = combo->list()->verticalScrollBar();
    const int openRows[] = {0, 1, 3, 3};
    for (int i = 0; i < 4; ++i) {
        wheel(combo->list()->viewport(), deltas[i]);
        EXPECT_EQ(scroll->value(), openRows[i]) << i;
    }
}

TEST_F(RegionCombo, ReleaseOnTheListFrameClosesWithoutTaking)
{
    combo->setItemIndex(0);
    combo->OpenList();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->list()));
    combo->list()->setCurrentRow(4);
    QTest::mouseClick(combo->list(), Qt::LeftButton, {}, {1, 10});
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(combo->text(), kRegions[0]);
}

// Showing the window again enters the field; coming back from another
// program only returns to it.
TEST_F(RegionCombo, AutoSelectWhenTheWindowIsShownAgainNotWhenItIsReturnedTo)
{
    activate(window);
    type(QStringLiteral("ЯЯ"));
    combo->setCursorPosition(1);
    QWidget otherProgram; // or the main window
    activate(otherProgram);
    activate(window);
    EXPECT_FALSE(combo->hasSelectedText());

    window.hide(); // closed over the main window, and shown again later
    activate(otherProgram);
    activate(window);
    EXPECT_EQ(combo->selectedText(), QStringLiteral("ЯЯ"));
}

TEST_F(RegionCombo, EventsAroundTheList)
{
    QStringList log;
    combo->OnDropDown = [&](TDBComboBoxEx &) { log << "drop"; };
    combo->OnCloseUp = [&](TDBComboBoxEx &, bool accept) { log << (accept ? "accept" : "cancel"); };
    combo->OpenList();
    combo->OpenList();
    combo->CloseList(true);
    combo->CloseList(true);
    combo->OpenList();
    other->setFocus();
    EXPECT_EQ(log, (QStringList{"drop", "accept", "drop", "cancel"}));
}

TEST_F(RegionCombo, LongListShowsItsRowsAndScrollsOneRowPerNotch)
{
    combo->setItems(longList());
    combo->OpenList();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->list()));
    EXPECT_EQ(combo->list()->height(), 7 * 13 + 4);
    auto *scroll = combo->list()->verticalScrollBar();
    EXPECT_EQ(scroll->value(), 0);
    wheel(combo->list()->viewport(), -120);
    EXPECT_EQ(scroll->value(), 1);
}

TEST_F(RegionCombo, ListWidthFollowsTheWidestItemButNeverNarrowerThanTheEdit)
{
    combo->setDropDownBox({.Align = combo::daLeft, .Rows = 7, .Width = -1});
    combo->setItems({QStringLiteral("МИНСКАЯ ОБЛАСТЬ, ОЧЕНЬ ДЛИННОЕ НАЗВАНИЕ")});
    combo->OpenList();
    const int widest = combo->list()->widestText();
    EXPECT_EQ(combo->list()->width(), widest + 5 + 4);
    EXPECT_GT(combo->list()->width(), 169);
    combo->CloseList(false);

    combo->setItems({QStringLiteral("А")});
    combo->OpenList();
    EXPECT_EQ(combo->list()->width(), 169);
    EXPECT_EQ(combo->list()->height(), 13 + 4);
}

TEST_F(RegionCombo, PastedTextTakesTheCharacterCase)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("гомельская"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(combo->text(), QStringLiteral("ГОМЕЛЬСКАЯ"));
    EXPECT_EQ(combo->itemIndex(), 2);
}

// Each handler replaces itself and then reads its own captured text; the
// control calls copies, so the text is still there.
TEST_F(RegionCombo, HandlersMayReplaceThemselves)
{
    QStringList seen;
    const QString name = QStringLiteral("первый обработчик");
    combo->OnChange = [this, &seen, name](TDBComboBoxEx &) {
        combo->OnChange = nullptr;
        seen << "change " + name;
    };
    combo->OnDropDown = [this, &seen, name](TDBComboBoxEx &) {
        combo->OnDropDown = nullptr;
        seen << "drop " + name;
    };
    combo->OnCloseUp = [this, &seen, name](TDBComboBoxEx &, bool) {
        combo->OnCloseUp = nullptr;
        seen << "close " + name;
    };
    type(QStringLiteral("Я"));
    combo->OpenList();
    combo->CloseList(false);
    EXPECT_EQ(seen, (QStringList{"change " + name, "drop " + name, "close " + name}));
}

// Characters whose codes are those of Page Up, Page Down, Up and Down go
// to the edit while the list is open, not to the list.
TEST_F(RegionCombo, PunctuationSharingTheListKeysCodesIsTypedWhileOpen)
{
    combo->setItemIndex(1);
    combo->end(false);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->listShown());
    type(QStringLiteral("!\"&("));
    EXPECT_EQ(combo->text(), QStringLiteral("ВИТЕБСКАЯ!\"&("));
    EXPECT_EQ(combo->list()->currentRow(), -1) << "the text is no item now";
    EXPECT_TRUE(combo->listShown());
}

TEST_F(RegionCombo, MainButtonStyleDecidesWhatAPressDoes)
{
    struct Row {
        TDBComboBoxEx::TEditButtonStyleEx style;
        QPoint at; // in the button
        bool opens;
        QString text;
    };
    const int h = combo->button()->height();
    for (const Row &row : {Row{combo::ebsDropDownEx, {5, 3}, true, QString()},
                           Row{combo::ebsUpDownEx, {5, h - 3}, false, QStringLiteral("БРЕСТСКАЯ")},
                           Row{combo::ebsEllipsisEx, {5, 3}, false, QString()}}) {
        combo->setItemIndex(-1);
        auto button = combo->editButton();
        button.Style = row.style;
        combo->setEditButton(button);
        QStringList log;
        combo->OnButtonDown = [&](TDBComboBoxEx &, bool top, bool &) { log << (top ? "down top" : "down"); };
        combo->OnButtonClick = [&](TDBComboBoxEx &) { log << "click"; };
        QTest::mouseClick(combo->button(), Qt::LeftButton, {}, row.at);
        EXPECT_EQ(combo->listShown(), row.opens) << row.style;
        EXPECT_EQ(combo->text(), row.text) << row.style;
        EXPECT_EQ(log, (QStringList{row.at.y() < h / 2 ? "down top" : "down", "click"})) << row.style;
        combo->CloseList(false);
    }
}

TEST_F(RegionCombo, AHandledPressKeepsTheListClosed)
{
    combo->OnButtonDown = [](TDBComboBoxEx &, bool, bool &handled) { handled = true; };
    QTest::mouseClick(combo->button(), Qt::LeftButton, {}, buttonCentre());
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(combo->listShown());
}

TEST_F(RegionCombo, ShortCutAndVisibilityOfTheMainButton)
{
    auto button = combo->editButton();
    button.ShortCut = QKeySequence(Qt::Key_F4);
    combo->setEditButton(button);
    int clicks = 0;
    combo->OnButtonClick = [&](TDBComboBoxEx &) { ++clicks; };
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(combo->listShown());
    key(Qt::Key_F4);
    EXPECT_TRUE(combo->listShown());
    EXPECT_EQ(clicks, 1);
    key(Qt::Key_F4);
    EXPECT_FALSE(combo->listShown());

    button.Visible = false;
    combo->setEditButton(button);
    EXPECT_FALSE(combo->button()->isVisible());
    EXPECT_EQ(combo->textMargins().right(), 0) << "the text takes the button's room";
    key(Qt::Key_F4);
    EXPECT_FALSE(combo->listShown());
    EXPECT_EQ(clicks, 2);
}

TEST_F(RegionCombo, LeavingWithANewTextTellsTheOwner)
{
    QStringList notInList;
    bool keepStored = false;
    combo->OnNotInList = [&](TDBComboBoxEx &sender, const QString &text) {
        notInList << text;
        sender.setItems(sender.items() << text);
    };
    combo->OnUpdateData = [&](TDBComboBoxEx &, bool &handled) { handled = keepStored; };
    type(QStringLiteral("ЯЯ"));
    other->setFocus();
    EXPECT_EQ(notInList, QStringList{QStringLiteral("ЯЯ")});
    EXPECT_EQ(combo->itemIndex(), 6) << "the handler added it";

    combo->setFocus();
    combo->selectAll();
    type(QStringLiteral("МИНСКАЯ"));
    keepStored = true;
    other->setFocus();
    EXPECT_EQ(notInList.size(), 1) << "an item is in the list";
    combo->setFocus();
    key(Qt::Key_Escape);
    EXPECT_EQ(combo->text(), QStringLiteral("ЯЯ")) << "the handler kept the stored value";
}
