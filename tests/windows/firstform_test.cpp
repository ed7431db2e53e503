#include "windows/firstform.h"

#include "windowstest.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace {

class FirstFormTest : public WindowsTest {
protected:
    QStringList values() const { return {form.Label2->text(), form.Label4->text(), form.Label6->text()}; }
    void clickEntry(int index)
    {
        const QRect item = form.ListBox1->visualRect(form.ListBox1->model()->index(index, 0));
        QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, item.center());
    }

    TFirstForm form;
};

TEST_F(FirstFormTest, ListsTheTwelveServicesWithQuotesKept)
{
    ASSERT_EQ(form.ListBox1->count(), 12);
    EXPECT_EQ(form.ListBox1->item(4)->text(), QStringLiteral("\"Верескинрайгаз\""));
    EXPECT_EQ(form.ListBox1->item(5)->text(), form.ListBox1->item(4)->text());
    EXPECT_EQ(form.ListBox1->item(11)->text(), QStringLiteral("Больница районная Ладимировская"));
}

TEST_F(FirstFormTest, ClickFillsTheThreeValues)
{
    whileShown(form, [&] {
        clickEntry(2);
        EXPECT_EQ(values(), QStringList({"203", "Отделение скорой медицинской помощи", "Островского 37"}));
        clickEntry(3);
        EXPECT_EQ(values(), QStringList({"203", "-", "-"}));
        clickEntry(9);
        EXPECT_EQ(values(), QStringList({"21677", "Дежурный", "Набережная"}));
    });
}

TEST_F(FirstFormTest, ValuesAreEmptyOnEveryOpeningAndAClickOnTheHighlightedEntryFillsThem)
{
    whileShown(form, [&] { clickEntry(6); });
    whileShown(form, [&] {
        EXPECT_EQ(form.ListBox1->currentRow(), 6);
        EXPECT_EQ(values(), QStringList({"", "", ""}));
        clickEntry(6);
        EXPECT_EQ(values(), QStringList({"207", "Стол заказов междугорной телефонной сети", "пл.40 л. Октября 7"}));
    });
}

TEST_F(FirstFormTest, OpeningShowsNoServiceUntilOneIsChosenAndDownChoosesTheFirst)
{
    whileShown(form, [&] {
        ASSERT_EQ(QApplication::focusWidget(), form.ListBox1);
        EXPECT_TRUE(form.ListBox1->selectedItems().isEmpty());
        EXPECT_EQ(values(), QStringList({"", "", ""}));
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        EXPECT_EQ(values(), QStringList({"201", "Дежурная часть", "Ленина 89"}));
        EXPECT_TRUE(form.ListBox1->item(0)->isSelected());
    });
}

TEST_F(FirstFormTest, ArrowKeysUpdateTheValuesEntryByEntry)
{
    whileShown(form, [&] {
        clickEntry(0);
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        EXPECT_EQ(values(), QStringList({"202", "Дежурная часть", "Ленина 35А"}));
        QTest::keyClick(form.ListBox1, Qt::Key_End);
        EXPECT_EQ(values(), QStringList({"24103", "Скорая медицинская помощь", "Ладимирово"}));
        QTest::keyClick(form.ListBox1, Qt::Key_Up);
        EXPECT_EQ(values()[0], QStringLiteral("24101"));
    });
}

TEST_F(FirstFormTest, NoSelectionChangesNothing)
{
    form.ListBox1->setCurrentRow(-1);
    form.Label2->setText(QStringLiteral("x"));
    form.ListBox1Click();
    EXPECT_EQ(form.Label2->text(), QStringLiteral("x"));
}

} // namespace
