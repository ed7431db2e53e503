#include "appfixture.h"

#include "app/form1.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"
#include "support/accessibletree.h"
#include "windows/firstform.h"
#include "windows/forms.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// The main window as a screen reader finds it.

namespace {

struct Expected {
    QAccessible::Role role;
    const char *name;
};

// Lets posted clicks run; `until` ends the wait early.
void runEvents(const std::function<bool()> &until, int milliseconds = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!until() && clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST_F(AppFixture, MainWindowReadsAsItShows)
{
    start();
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&main());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Телефонный справочник // Версия 1.00"));
    const Expected parts[] = {
        {QAccessible::ToolBar, ""},
        {QAccessible::Heading, "МЕНЮ"},
        {QAccessible::Button, "Телефоны первой необходимости"},
        {QAccessible::Button, "Личная телефонная книжка"},
        {QAccessible::Button, "Коды городов Беларуси"},
        {QAccessible::Button, "О программе и разработчиках"},
        {QAccessible::Button, "Справка по работе с программой"},
        {QAccessible::EditableText, "Телефон"},
        {QAccessible::EditableText, "Абонент"},
        {QAccessible::EditableText, "Адрес"},
        {QAccessible::Button, "Поиск"},
        {QAccessible::Button, "Очистить"},
        {QAccessible::Button, "Первая запись"},
        {QAccessible::Button, "Предыдущая запись"},
        {QAccessible::Button, "Следующая запись"},
        {QAccessible::Button, "Последняя запись"},
        {QAccessible::ColumnHeader, "Телефон"},
        {QAccessible::ColumnHeader, "Абонент"},
        {QAccessible::ColumnHeader, "Адрес"},
        {QAccessible::ColumnHeader, "Отдел"},
    };
    for (const Expected &part : parts)
        EXPECT_NE(findAccessible(&main(), part.role, QString::fromUtf8(part.name)), nullptr) << part.name;
}

TEST_F(AppFixture, AfterASearchTheGridReadsTheRecordsAndTheirCount)
{
    start();
    const int expected = countMatching("123", "", "");
    ASSERT_GT(expected, 1);
    main().Edit1->setText(QStringLiteral("123"));
    QAccessibleInterface *search = findAccessible(&main(), QAccessible::Button, QStringLiteral("Поиск"));
    search->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    runEvents([&] { return main().Query1.active(); });
    ASSERT_LE(expected, main().DBGridEx1->visibleDataRows()); // all of them in view

    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(main().DBGridEx1)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), expected);
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("Телефон"));
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("Абонент"));
    EXPECT_EQ(table->selectedRows(), QList<int>{0}); // the first record is the current one
    for (int row = 0; row < 2; ++row, main().Query1.next()) {
        EXPECT_EQ(table->cellAt(row, 0)->text(QAccessible::Name),
                  QStringLiteral("Телефон ") + main().Query1.fieldByName("Tel").asString());
        EXPECT_EQ(table->cellAt(row, 1)->text(QAccessible::Name),
                  QStringLiteral("Абонент ") + main().Query1.fieldByName("Abon").asString());
    }
    EXPECT_EQ(table->summary()->text(QAccessible::Name), QStringLiteral("Записей %1").arg(expected));
}

TEST_F(AppFixture, PressingASideMenuItemOpensItsWindow)
{
    start();
    bool opened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (FirstForm->isVisible()) {
            opened = true;
            FirstForm->close();
        }
    });
    watch.start(10);
    QAccessibleInterface *item =
        findAccessible(&main(), QAccessible::Button, QStringLiteral("Телефоны первой необходимости"));
    ASSERT_NE(item, nullptr);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    runEvents([&] { return opened; });
    EXPECT_TRUE(opened);
}

// The user who stays in the search field hears the count; the grids count
// the whole result, not the rows that fit.
TEST_F(AppFixture, ASearchSpeaksItsCountAndTheGridsCountTheWholeResult)
{
    start();
    AccessibleEventLog log;
    main().FlatSpeedButton1->Click();
    const int found = main().Query1.recordCount();
    ASSERT_GT(found, main().DBGridEx1->recordRows());
    EXPECT_EQ(log.notices(), QStringList{QStringLiteral("Записей %1").arg(found)});
    for (QWidget *grid : {main().DBGridEx1, main().DBGridEx2})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(grid)->tableInterface()->rowCount(), found);
}

// With assistive technology the flat buttons take Tab focus and Space
// clicks them; without it they take no focus, as the mouse-only original.
TEST_F(AppFixture, FlatButtonsAreReachableByKeyboardOnlyWithAssistiveTechnology)
{
    start();
    EXPECT_EQ(main().FlatSpeedButton2->focusPolicy(), Qt::NoFocus);
    QAccessible::setActive(true);
    EXPECT_EQ(main().FlatSpeedButton2->focusPolicy(), Qt::TabFocus);
    main().FlatSpeedButton1->Click();
    ASSERT_TRUE(main().Query1.active());
    main().FlatSpeedButton2->setFocus();
    QTest::keyClick(main().FlatSpeedButton2, Qt::Key_Space);
    QAccessible::setActive(false);
    EXPECT_FALSE(main().Query1.active());
    EXPECT_TRUE(main().Edit1->hasFocus());
    EXPECT_EQ(main().FlatSpeedButton2->focusPolicy(), Qt::NoFocus);
}

// Both grids follow the record, but only the one with the focus speaks it:
// a navigator press from the search field moves focus to neither.
TEST_F(AppFixture, OnlyTheFocusedGridAnnouncesTheCurrentRecord)
{
    start();
    main().FlatSpeedButton1->Click();
    ASSERT_GT(main().Query1.recordCount(), 2);
    AccessibleEventLog log;
    QAccessibleInterface *next = findAccessible(&main(), QAccessible::Button, QStringLiteral("Следующая запись"));
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    runEvents([&] { return main().Query1.recNo() == 2; });
    EXPECT_EQ(main().Query1.recNo(), 2);
    for (QWidget *grid : {main().DBGridEx1, main().DBGridEx2})
        EXPECT_FALSE(log.contains(grid, QAccessible::Focus));

    main().DBGridEx2->setFocus();
    QTest::keyClick(main().DBGridEx2, Qt::Key_Down);
    EXPECT_EQ(main().Query1.recNo(), 3);
    EXPECT_FALSE(log.contains(main().DBGridEx1, QAccessible::Focus));
    EXPECT_TRUE(log.contains(main().DBGridEx2, QAccessible::Focus));
    EXPECT_TRUE(log.contains(main().DBGridEx2, QAccessible::Selection));
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(main().DBGridEx2)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(focused->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
              QStringLiteral("Адрес"));
}

// Qt tells of the grid itself after the focus-in handler; the record comes
// later, so that the reader lands on the row with its place in the result.
TEST_F(AppFixture, AGridTakingTheFocusAnnouncesItsRecordAfterItselfWithItsPlace)
{
    start();
    main().FlatSpeedButton1->Click();
    const int found = main().Query1.recordCount();
    ASSERT_GT(found, main().DBGridEx1->recordRows());
    main().Query1.last();
    AccessibleEventLog log;
    main().DBGridEx1->setFocus();
    ASSERT_TRUE(main().DBGridEx1->hasFocus());
    EXPECT_FALSE(log.contains(main().DBGridEx1, QAccessible::Focus));
    runEvents([&] { return log.contains(main().DBGridEx1, QAccessible::Focus); });
    EXPECT_TRUE(log.contains(main().DBGridEx1, QAccessible::Focus));
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(main().DBGridEx1)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->text(QAccessible::Name),
              QStringLiteral("Телефон ") + main().Query1.fieldByName("Tel").asString());
    EXPECT_EQ(focused->text(QAccessible::Description), QStringLiteral("Запись %1 из %1").arg(found));
}

TEST_F(AppFixture, ACellKeptFromALongerResultReadsEmpty)
{
    start();
    main().FlatSpeedButton1->Click();
    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(main().DBGridEx1)->tableInterface();
    const int rows = table->rowCount();
    int lastShown = rows - 1;
    while (lastShown > 0 && !table->cellAt(lastShown, 1))
        --lastShown;
    QAccessibleInterface *last = table->cellAt(lastShown, 1);
    ASSERT_FALSE(last->text(QAccessible::Name).isEmpty());
    main().Edit1->setText(main().Query1.fieldByName("Tel").asString());
    main().FlatSpeedButton1->Click();
    ASSERT_LT(table->rowCount(), rows);
    EXPECT_FALSE(last->isValid());
    EXPECT_TRUE(last->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(last->rect().isEmpty());
}
