#include "appfixture.h"

#include "app/form1.h"
#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

// The directory search as a resident uses it.

namespace {

QString footerCount(TForm1 &form)
{
    return form.DBGridEx1->FooterText(0, form.DBGridEx1->columns()[1]);
}

} // namespace

TEST_F(AppFixture, TelephonePrefixWithEnterListsExactlyTheMatchingRecords)
{
    start();
    const int expected = countMatching("12", "", "");
    ASSERT_GT(expected, 1);
    QTest::keyClicks(main().Edit1, "12");
    QTest::keyClick(main().Edit1, Qt::Key_Return);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(main().Query1.recordCount(), expected);
    EXPECT_EQ(footerCount(main()), QString::number(expected));
    EXPECT_EQ(main().DBGridEx1->FooterText(0, main().DBGridEx1->columns()[0]), QStringLiteral("Записей"));
    EXPECT_EQ(main().Edit1->text(), QStringLiteral("12")); // found: the field keeps its text
    EXPECT_TRUE(main().Query1.fieldByName("Tel").asString().startsWith("12"));
}

TEST_F(AppFixture, EnterInTheNameAndAddressFieldsSearchesToo)
{
    start();
    struct Row {
        QLineEdit *field;
        QString prefix;
        int expected;
    };
    const Row rows[] = {{main().Edit2, QStringLiteral("СО"), countMatching("", "СО", "")},
                        {main().Edit3, QStringLiteral("ЛЕ"), countMatching("", "", "ЛЕ")}};
    for (const Row &row : rows) {
        main().FlatSpeedButton2->Click();
        ASSERT_GT(row.expected, 0);
        row.field->setText(row.prefix);
        QTest::keyClick(row.field, Qt::Key_Return);
        EXPECT_EQ(main().Query1.recordCount(), row.expected) << row.prefix.toStdString();
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(AppFixture, SearchFieldsTypeRussianUpperCase)
{
    start();
    // The activation switched the keyboard to the Russian layout.
    QTest::keyClicks(main().Edit2, "bdf");
    EXPECT_EQ(main().Edit2->text(), QStringLiteral("ИВА"));
    main().Edit3->insert(QStringLiteral("lenin 35а"));
    EXPECT_EQ(main().Edit3->text(), QStringLiteral("LENIN 35А"));
}

TEST_F(AppFixture, TitlesShowTheFieldLabelsBeforeAndAfterASearch)
{
    start();
    auto titles = [this] {
        QStringList captions;
        for (grid::TDBGridEx *grid : {main().DBGridEx1, main().DBGridEx2})
            for (int i = 0; i < grid->columns().count(); ++i)
                captions << grid->columns()[i].title().caption();
        return captions;
    };
    const QStringList expected{"Телефон", "Абонент", "Адрес", "Отдел"};
    EXPECT_EQ(titles(), expected);
    main().FlatSpeedButton1->Click();
    EXPECT_EQ(titles(), expected);
    main().FlatSpeedButton2->Click();
    EXPECT_EQ(titles(), expected);
}

TEST_F(AppFixture, AllFieldsEmptyListEveryRecordWithThreeSearchedColumns)
{
    start();
    main().FlatSpeedButton1->Click();
    const int expected = countMatching("", "", "");
    EXPECT_EQ(main().Query1.recordCount(), expected);
    EXPECT_EQ(footerCount(main()), QString::number(expected));
}

TEST_F(AppFixture, NothingFoundWarnsThenClearsTheFieldsAndFocusesTheTelephone)
{
    start();
    main().Edit2->setText(QStringLiteral("ЯЯЯЯЯЯ"));
    main().Edit3->setText(QStringLiteral("Б"));
    main().FlatSpeedButton1->Click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, platform::mbExclamationOk);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Внимание!"));
    EXPECT_EQ(shown[0].text, QStringLiteral("По Вашему запросу не найдено ни одной записи.\rПовторите поиск!"));
    EXPECT_TRUE(main().Edit1->text().isEmpty());
    EXPECT_TRUE(main().Edit2->text().isEmpty());
    EXPECT_TRUE(main().Edit3->text().isEmpty());
    EXPECT_FALSE(main().Query1.active());
    EXPECT_EQ(QApplication::focusWidget(), main().Edit1);
}

TEST_F(AppFixture, SixDigitTelephonePrefixFindsNothing)
{
    start();
    main().Edit1->setText(QStringLiteral("123456"));
    main().FlatSpeedButton1->Click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, platform::mbExclamationOk);
}

TEST_F(AppFixture, GridsAndNavigatorShareTheCurrentRecord)
{
    start();
    main().FlatSpeedButton1->Click();
    ASSERT_GT(main().Query1.recordCount(), 10);
    main().DBGridEx1->setFocus();
    QTest::keyClick(main().DBGridEx1, Qt::Key_Down);
    QTest::keyClick(main().DBGridEx1, Qt::Key_Down);
    EXPECT_EQ(main().Query1.recNo(), 3);
    EXPECT_EQ(main().DBGridEx2->row(), main().DBGridEx1->row());

    main().DBGridEx2->setFocus();
    QTest::keyClick(main().DBGridEx2, Qt::Key_Up);
    EXPECT_EQ(main().Query1.recNo(), 2);
    EXPECT_EQ(main().DBGridEx1->row(), main().DBGridEx2->row());

    main().DBNavigator1->button(grid::NavigatorButton::Last)->click();
    EXPECT_EQ(main().Query1.recNo(), main().Query1.recordCount());
}
