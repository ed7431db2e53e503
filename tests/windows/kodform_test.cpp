#include "controls/combo/dbcomboboxex.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "windows/kodform.h"

#include "support/accessibletree.h"
#include "windowstest.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

class KodFormTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        makeTable(QStringLiteral("kod.db"), QStringLiteral("Obl VARCHAR(15), Np VARCHAR(20), Kod VARCHAR(20)"),
                  {{"МИНСКАЯ", "МИНСК", "017"},
                   {"МИНСКАЯ", "БОРИСОВ", "0177"},
                   {"БРЕСТСКАЯ", "БРЕСТ", "0162"},
                   {"МОГИЛЕВСКАЯ", "МИНЬКИ", "0222"},
                   {"ГОМЕЛЬСКАЯ", "ГОМЕЛЬ", "0232"}});
    }

    QStringList column(data::Query &query, const char *field)
    {
        QStringList values;
        if (!query.active())
            return values;
        for (query.first(); !query.eof(); query.next())
            values.append(query.fieldByName(QString::fromLatin1(field)).asString());
        query.first();
        return values;
    }

    TKodForm form;
};

TEST_F(KodFormTest, ChosenRegionListsItsLocalitiesWithTheirCodes)
{
    whileShown(form, [&] {
        form.DBComboBoxEx1->setItemIndex(4);
        form.FlatSpeedButton1->Click();
        EXPECT_EQ(column(form.Query1, "Np"), QStringList({"МИНСК", "БОРИСОВ"}));
        EXPECT_EQ(column(form.Query1, "Kod"), QStringList({"017", "0177"}));
        EXPECT_EQ(form.Query1.fieldCount(), 2);
        EXPECT_EQ(form.DBGridEx1->columns()[0].title().caption(), QStringLiteral("Населенный пункт"));
    });
}

TEST_F(KodFormTest, TypedRegionIsCompletedAndUnmatchedTextGivesAnEmptyGridSilently)
{
    whileShown(form, [&] {
        form.DBComboBoxEx1->setFocus();
        typeText(form.DBComboBoxEx1, QStringLiteral("мин"));
        EXPECT_EQ(form.DBComboBoxEx1->text(), QStringLiteral("МИНСКАЯ"));
        form.FlatSpeedButton1->Click();
        EXPECT_EQ(column(form.Query1, "Np").size(), 2);

        form.DBComboBoxEx1->setText(QStringLiteral("ЛУНА"));
        form.FlatSpeedButton1->Click();
        EXPECT_TRUE(form.Query1.isEmpty());
        EXPECT_TRUE(shown.empty());
    });
}

TEST_F(KodFormTest, LocalityPrefixIsTypedInCapitalsAndFound)
{
    whileShown(form, [&] {
        typeText(form.Edit1, QStringLiteral("мин"));
        EXPECT_EQ(form.Edit1->text(), QStringLiteral("МИН"));
        QTest::keyClick(form.Edit1, Qt::Key_Return);
        EXPECT_EQ(column(form.Query2, "Np"), QStringList({"МИНСК", "МИНЬКИ"}));
        EXPECT_EQ(column(form.Query2, "Obl"), QStringList({"МИНСКАЯ", "МОГИЛЕВСКАЯ"}));
        EXPECT_TRUE(shown.empty());
    });
}

TEST_F(KodFormTest, EmptyLocalityListsEveryLocality)
{
    whileShown(form, [&] {
        form.FlatSpeedButton2->Click();
        EXPECT_EQ(column(form.Query2, "Np").size(), 5);
    });
}

TEST_F(KodFormTest, NotFoundIsReportedThenTheFieldIsClearedWhileTheRegionResultStays)
{
    whileShown(form, [&] {
        form.DBComboBoxEx1->setItemIndex(0);
        form.FlatSpeedButton1->Click();
        typeText(form.Edit1, QStringLiteral("ЯЯЯ"));
        form.FlatSpeedButton2->Click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("По Вашему запросу не найдено ни одной записи.\rПовторите поиск!"));
        EXPECT_EQ(shown[0].caption, QStringLiteral("Внимание!"));
        EXPECT_EQ(shown[0].style, platform::mbExclamationOk);
        EXPECT_TRUE(form.Edit1->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
        EXPECT_FALSE(form.Query2.active());
        EXPECT_EQ(column(form.Query1, "Np"), QStringList({"БРЕСТ"}));
    });
}

// A user in the search field hears the count; the not-found message speaks
// for itself.
TEST_F(KodFormTest, BothSearchesSpeakHowManyLocalitiesTheyFound)
{
    whileShown(form, [&] {
        AccessibleEventLog log;
        form.DBComboBoxEx1->setItemIndex(4);
        form.FlatSpeedButton1->Click();
        form.DBComboBoxEx1->setText(QStringLiteral("НЕТ ТАКОЙ"));
        form.FlatSpeedButton1->Click();
        typeText(form.Edit1, QStringLiteral("МИН"));
        form.FlatSpeedButton2->Click();
        typeText(form.Edit1, QStringLiteral("ЯЯЯ"));
        form.FlatSpeedButton2->Click();
        EXPECT_EQ(log.notices(), QStringList({"Найдено населенных пунктов: 2", "Найдено населенных пунктов: 0",
                                              "Найдено населенных пунктов: 2"}));
    });
}

TEST_F(KodFormTest, ReopeningClearsBothResultsTheFieldAndAChosenRegionAndFocusesTheRegion)
{
    whileShown(form, [&] {
        EXPECT_EQ(QApplication::focusWidget(), form.DBComboBoxEx1);
        form.DBComboBoxEx1->setItemIndex(4);
        form.FlatSpeedButton1->Click();
        typeText(form.Edit1, QStringLiteral("Б"));
        form.FlatSpeedButton2->Click();
        form.DBGridEx2->setFocus();
    });
    whileShown(form, [&] {
        EXPECT_EQ(QApplication::focusWidget(), form.DBComboBoxEx1);
        EXPECT_FALSE(form.Query1.active());
        EXPECT_FALSE(form.Query2.active());
        EXPECT_TRUE(form.Edit1->text().isEmpty());
        EXPECT_TRUE(form.DBComboBoxEx1->text().isEmpty());
        form.DBComboBoxEx1->setText(QStringLiteral("ЛУНА"));
    });
    whileShown(form, [&] { EXPECT_EQ(form.DBComboBoxEx1->text(), QStringLiteral("ЛУНА")); });
}

TEST_F(KodFormTest, AMissingTableIsReportedAndTheSearchStops)
{
    QFile::remove(QStringLiteral("kod.db"));
    whileShown(form, [&] {
        form.FlatSpeedButton2->Click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, platform::mbErrorOk);
        EXPECT_FALSE(form.Query2.active());
    });
}

} // namespace

// Before any search both grids show their titles in the widths a search
// gives them.
TEST_F(KodFormTest, GridsShowTitlesAndWidthsFromTheFirstShowing)
{
    whileShown(form, [&] {
        for (grid::TDBGridEx *result : {form.DBGridEx1, form.DBGridEx2}) {
            std::vector<int> widths;
            for (int i = 0; i < result->columns().count(); ++i) {
                EXPECT_FALSE(result->columns()[i].title().caption().isEmpty());
                widths.push_back(result->columns()[i].width());
            }
            form.DBComboBoxEx1->setItemIndex(4);
            form.FlatSpeedButton1->Click();
            form.FlatSpeedButton2->Click();
            for (int i = 0; i < result->columns().count(); ++i)
                EXPECT_EQ(result->columns()[i].width(), widths[std::size_t(i)]) << "column " << i;
        }
    });
}
