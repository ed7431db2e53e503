#include "controls/flat/flatspeedbutton.h"
#include "controls/grid/dbgridex.h"
#include "windows/addredform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"

#include "support/paradoxbuilder.h"
#include "windowstest.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <sqlite3.h>

namespace {

const QString bookColumns = QStringLiteral("FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), MAIL VARCHAR(50)");
const QString book = QStringLiteral("basamy.db");

class KnigaFormTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        KnigaForm = new TKnigaForm;
        AddRedForm = new TAddRedForm;
    }
    void TearDown() override
    {
        delete AddRedForm;
        delete KnigaForm;
        WindowsTest::TearDown();
    }

    void makeBook(const std::vector<QStringList> &rows) { makeTable(book, bookColumns, rows); }
    QString currentName() const { return KnigaForm->Table1.fieldByName(QStringLiteral("FIO")).asString(); }
    bool recordButtonsEnabled() const
    {
        const bool enabled = KnigaForm->FlatSpeedButton2->isEnabled();
        EXPECT_EQ(KnigaForm->FlatSpeedButton3->isEnabled(), enabled);
        EXPECT_EQ(KnigaForm->FlatSpeedButton4->isEnabled(), enabled);
        return enabled;
    }
    // Opens the editor through `button` and runs `script` in it; the editor
    // is closed afterwards if the script left it open.
    void inEditor(TFlatSpeedButton *button, const std::function<void()> &script)
    {
        QTimer::singleShot(0, AddRedForm, [&script] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(AddRedForm));
            script();
            if (AddRedForm->isVisible())
                AddRedForm->close();
        });
        button->Click();
    }
    void fillEditor(const QStringList &texts)
    {
        QLineEdit *edits[] = {AddRedForm->Edit1, AddRedForm->Edit2, AddRedForm->Edit3, AddRedForm->Edit4};
        for (int i = 0; i < 4; ++i) {
            edits[i]->clear();
            typeText(edits[i], texts[i]);
        }
    }
};

std::vector<QStringList> names(std::initializer_list<const char *> list)
{
    std::vector<QStringList> rows;
    for (const char *name : list)
        rows.push_back({QString::fromUtf8(name), {}, {}, {}});
    return rows;
}

TEST_F(KnigaFormTest, OpeningShowsTheFirstRecordWithAnEmptyFocusedSearchField)
{
    makeBook(names({"Петров", "Иванов"}));
    whileShown(*KnigaForm, [&] { KnigaForm->DBGridEx1->setFocus(); });
    whileShown(*KnigaForm, [&] {
        EXPECT_TRUE(KnigaForm->Table1.active());
        EXPECT_EQ(currentName(), QStringLiteral("Петров"));
        EXPECT_TRUE(KnigaForm->Edit1->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), KnigaForm->Edit1);
        EXPECT_TRUE(recordButtonsEnabled());
        EXPECT_EQ(KnigaForm->DBGridEx1->columns()[0].title().caption(), QStringLiteral("Фамилия, Имя, Отчество"));
        EXPECT_EQ(KnigaForm->DBGridEx1->columns()[3].title().caption(), QStringLiteral("e-mail"));
    });
}

TEST_F(KnigaFormTest, IncrementalSearchIgnoresCaseAndStaysPutWithoutAMatch)
{
    makeBook(names({"Петров", "иванова", "Ивлев", "ИВАНОВ"}));
    whileShown(*KnigaForm, [&] {
        typeText(KnigaForm->Edit1, QStringLiteral("ив"));
        EXPECT_EQ(currentName(), QStringLiteral("иванова"));
        typeText(KnigaForm->Edit1, QStringLiteral("л"));
        EXPECT_EQ(currentName(), QStringLiteral("Ивлев"));
        typeText(KnigaForm->Edit1, QStringLiteral("я"));
        EXPECT_EQ(currentName(), QStringLiteral("Ивлев"));
        // Clearing by the program never searches.
        KnigaForm->FlatSpeedButton5->Click();
        EXPECT_TRUE(KnigaForm->Edit1->text().isEmpty());
        EXPECT_EQ(currentName(), QStringLiteral("Ивлев"));
    });
}

TEST_F(KnigaFormTest, DeletingTheLastRecordDisablesTheButtonsAndAnAddEnablesThem)
{
    makeBook(names({"Петров"}));
    whileShown(*KnigaForm, [&] {
        KnigaForm->FlatSpeedButton2->Click();
        EXPECT_EQ(shown.back().text, QStringLiteral("Вы действительно хотите удалить эту запись?"));
        EXPECT_EQ(shown.back().style, platform::mbQuestionYesNo);
        EXPECT_TRUE(KnigaForm->Table1.isEmpty());
        EXPECT_FALSE(recordButtonsEnabled());
        inEditor(KnigaForm->FlatSpeedButton1, [&] {
            EXPECT_EQ(AddRedForm->windowTitle(), QStringLiteral("Добавление новой записи"));
            typeText(AddRedForm->Edit1, QStringLiteral("Сидоров"));
            AddRedForm->FlatSpeedButton2->Click();
        });
        EXPECT_TRUE(recordButtonsEnabled());
    });
    EXPECT_EQ(readTable(book), std::vector<QStringList>({{"Сидоров", "", "", ""}}));
}

TEST_F(KnigaFormTest, AnsweringNoChangesNothing)
{
    makeBook(names({"Петров", "Иванов"}));
    whileShown(*KnigaForm, [&] {
        answerNext(platform::idNo);
        KnigaForm->FlatSpeedButton2->Click();
        answerNext(platform::idNo);
        KnigaForm->FlatSpeedButton4->Click();
        EXPECT_EQ(KnigaForm->Table1.recordCount(), 2);
        EXPECT_TRUE(recordButtonsEnabled());
    });
    EXPECT_EQ(readTable(book).size(), 2u);
}

TEST_F(KnigaFormTest, DeleteAllOfTenThousandRecordsLeavesAnEmptyBook)
{
    makeBook({});
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(book.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                           "INSERT INTO basamy SELECT 'Абонент ' || i, 'ул. Ленина', i, NULL FROM n",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    whileShown(*KnigaForm, [&] {
        EXPECT_EQ(KnigaForm->Table1.recordCount(), 10000);
        KnigaForm->FlatSpeedButton4->Click();
        EXPECT_EQ(shown.back().text, QStringLiteral("Вы действительно хотите удалить все записи?"));
        EXPECT_TRUE(KnigaForm->Table1.active());
        EXPECT_TRUE(KnigaForm->Table1.isEmpty());
        EXPECT_FALSE(recordButtonsEnabled());
    });
    EXPECT_TRUE(QFile::exists(book));
    EXPECT_TRUE(readTable(book).empty());
}

TEST_F(KnigaFormTest, DeleteOnAnEmptyBookReportsTheEngineErrorAndChangesNothingElse)
{
    makeBook({});
    whileShown(*KnigaForm, [&] {
        KnigaForm->fghfgh1->trigger();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].style, platform::mbQuestionYesNo);
        EXPECT_EQ(shown[1].style, platform::mbErrorOk);
        EXPECT_EQ(shown[1].text, QStringLiteral("Cannot perform this operation on an empty dataset"));
        EXPECT_TRUE(KnigaForm->Table1.active());
        EXPECT_FALSE(recordButtonsEnabled());
    });
    EXPECT_TRUE(readTable(book).empty());
}

TEST_F(KnigaFormTest, ShortcutsOfThePopupMenuActOnTheGrid)
{
    makeBook(names({"Петров", "Иванов"}));
    whileShown(*KnigaForm, [&] {
        KnigaForm->DBGridEx1->setFocus();
        answerNext(platform::idNo);
        QTest::keyClick(KnigaForm->DBGridEx1, Qt::Key_Delete);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("Вы действительно хотите удалить эту запись?"));
        answerNext(platform::idNo);
        QTest::keyClick(KnigaForm->DBGridEx1, Qt::Key_Delete, Qt::ShiftModifier);
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].text, QStringLiteral("Вы действительно хотите удалить все записи?"));
        auto editorCaptionAfter = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            // Offscreen, nothing hands activation back after the editor closed.
            KnigaForm->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(KnigaForm));
            KnigaForm->DBGridEx1->setFocus();
            QString caption;
            QTimer::singleShot(0, AddRedForm, [&] {
                caption = AddRedForm->windowTitle();
                AddRedForm->close();
            });
            QTest::keyClick(KnigaForm->DBGridEx1, key, modifiers);
            return caption;
        };
        EXPECT_EQ(editorCaptionAfter(Qt::Key_Insert, {}), QStringLiteral("Добавление новой записи"));
        EXPECT_EQ(editorCaptionAfter(Qt::Key_Insert, Qt::ShiftModifier), QStringLiteral("Редактирование записи"));
    });
}

TEST_F(KnigaFormTest, EditShowsTheCurrentRecordAndReplacesAllFourFields)
{
    makeBook({{"Петров", "Ленина 1", {}, "p@example.org"}, {"Иванов", "Мира 2", "21000", {}}});
    whileShown(*KnigaForm, [&] {
        typeText(KnigaForm->Edit1, QStringLiteral("Ив"));
        inEditor(KnigaForm->FlatSpeedButton3, [&] {
            EXPECT_EQ(AddRedForm->Edit1->text(), QStringLiteral("Иванов"));
            EXPECT_EQ(AddRedForm->Edit2->text(), QStringLiteral("Мира 2"));
            EXPECT_EQ(AddRedForm->Edit3->text(), QStringLiteral("21000"));
            EXPECT_TRUE(AddRedForm->Edit4->text().isEmpty());
            AddRedForm->Edit2->clear();
            typeText(AddRedForm->Edit4, QStringLiteral("i@example.org"));
            QTest::keyClick(AddRedForm->Edit4, Qt::Key_Return);
        });
        // The editor's close re-activates the book, on the stored record.
        EXPECT_EQ(currentName(), QStringLiteral("Иванов"));
        EXPECT_TRUE(KnigaForm->Edit1->text().isEmpty());
    });
    const auto rows = readTable(book);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], QStringList({"Иванов", "", "21000", "i@example.org"}));
}

TEST_F(KnigaFormTest, EditorSwitchedFromEditToAddShowsFourEmptyFields)
{
    makeBook({{"Петров", "Ленина 1", "21234", "p@example.org"}});
    whileShown(*KnigaForm, [&] {
        inEditor(KnigaForm->FlatSpeedButton3, [] { EXPECT_EQ(AddRedForm->Edit4->text(), "p@example.org"); });
        inEditor(KnigaForm->FlatSpeedButton1, [] {
            for (QLineEdit *edit : {AddRedForm->Edit1, AddRedForm->Edit2, AddRedForm->Edit3, AddRedForm->Edit4})
                EXPECT_TRUE(edit->text().isEmpty()) << edit->text().toStdString();
            EXPECT_EQ(QApplication::focusWidget(), AddRedForm->Edit1);
        });
    });
}

TEST_F(KnigaFormTest, EditOnAnEmptyBookStoresANewRecord)
{
    makeBook({});
    whileShown(*KnigaForm, [&] {
        inEditor(KnigaForm->FlatSpeedButton3, [&] {
            EXPECT_TRUE(AddRedForm->Edit1->text().isEmpty());
            fillEditor({"Новиков", "Садовая 3", "22222", ""});
            AddRedForm->FlatSpeedButton2->Click();
        });
        EXPECT_EQ(KnigaForm->Table1.recordCount(), 1);
    });
    EXPECT_EQ(readTable(book), std::vector<QStringList>({{"Новиков", "Садовая 3", "22222", ""}}));
}

TEST_F(KnigaFormTest, EditsHoldNoMoreThanTheirFieldsAndALongNumberLosesItsSeparatorsOrIsRefused)
{
    makeBook({});
    whileShown(*KnigaForm, [&] {
        inEditor(KnigaForm->FlatSpeedButton1, [&] {
            fillEditor({QString(35, u'Ж'), QString(45, u'А'), QString(20, u'7'), QString(55, u'm')});
            EXPECT_EQ(AddRedForm->Edit1->text(), QString(30, u'Ж'));
            EXPECT_EQ(AddRedForm->Edit2->text(), QString(40, u'А'));
            EXPECT_EQ(AddRedForm->Edit4->text(), QString(50, u'm'));
            QTest::keyClick(AddRedForm->Edit2, Qt::Key_Enter); // 20 digits do not fit: refused
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Номер телефона не помещается")))
                << shown[0].text.toStdString();
            EXPECT_EQ(shown[0].style, platform::mbErrorOk);
            EXPECT_TRUE(AddRedForm->isVisible());
            EXPECT_TRUE(readTable(book).empty());
            AddRedForm->Edit3->clear();
            typeText(AddRedForm->Edit3, QStringLiteral("+375 (29) 765-43-21"));
            QTest::keyClick(AddRedForm->Edit3, Qt::Key_Enter);
        });
    });
    EXPECT_EQ(readTable(book), std::vector<QStringList>({{QString(30, u'Ж'), QString(40, u'А'),
                                                          QStringLiteral("+375297654321"), QString(50, u'm')}}));
}

TEST_F(KnigaFormTest, EmptyNameIsRefusedKeepingTheOtherFieldsAndSpacesPass)
{
    makeBook({});
    whileShown(*KnigaForm, [&] {
        inEditor(KnigaForm->FlatSpeedButton1, [&] {
            fillEditor({"", "Ленина 5", "23456", "x@example.org"});
            AddRedForm->FlatSpeedButton2->Click();
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, QStringLiteral("Пожалуйста, введите Ф.И.О. абонента"));
            EXPECT_EQ(shown[0].caption, QStringLiteral("Ошибка"));
            EXPECT_EQ(shown[0].style, platform::mbErrorOk);
            EXPECT_TRUE(AddRedForm->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), AddRedForm->Edit1);
            EXPECT_EQ(AddRedForm->Edit2->text(), QStringLiteral("Ленина 5"));
            EXPECT_EQ(AddRedForm->Edit4->text(), QStringLiteral("x@example.org"));
            EXPECT_TRUE(readTable(book).empty());
            typeText(AddRedForm->Edit1, QStringLiteral("  "));
            AddRedForm->FlatSpeedButton2->Click();
            EXPECT_FALSE(AddRedForm->isVisible());
        });
    });
    EXPECT_EQ(readTable(book), std::vector<QStringList>({{"  ", "Ленина 5", "23456", "x@example.org"}}));
}

TEST_F(KnigaFormTest, CloseStoresNothing)
{
    makeBook(names({"Петров"}));
    whileShown(*KnigaForm, [&] {
        inEditor(KnigaForm->FlatSpeedButton1, [&] {
            fillEditor({"Сидоров", "", "", ""});
            AddRedForm->FlatSpeedButton1->Click();
        });
    });
    EXPECT_EQ(readTable(book).size(), 1u);
}

TEST_F(KnigaFormTest, AnUnwritableBookKeepsTheEditorOpenAndTheFileUnchanged)
{
    makeBook(names({"Петров"}));
    QFile before(book);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    whileShown(*KnigaForm, [&] {
        // Another program holds the write lock.
        sqlite3 *other = nullptr;
        ASSERT_EQ(sqlite3_open(book.toUtf8().constData(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        inEditor(KnigaForm->FlatSpeedButton1, [&] {
            fillEditor({"Сидоров", "Садовая 1", "", ""});
            AddRedForm->FlatSpeedButton2->Click();
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].style, platform::mbErrorOk);
            EXPECT_TRUE(AddRedForm->isVisible());
            EXPECT_EQ(AddRedForm->Edit1->text(), QStringLiteral("Сидоров"));
            EXPECT_EQ(KnigaForm->Table1.state(), data::DataSetState::Browse);
            EXPECT_EQ(KnigaForm->Table1.recordCount(), 1);
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(other);
            QFile after(book);
            ASSERT_TRUE(after.open(QIODevice::ReadOnly));
            EXPECT_EQ(after.readAll(), bytes);
            // Trying again once the lock is gone stores the record once.
            AddRedForm->FlatSpeedButton2->Click();
            EXPECT_FALSE(AddRedForm->isVisible());
        });
    });
    EXPECT_EQ(readTable(book), std::vector<QStringList>({{"Петров", "", "", ""}, {"Сидоров", "Садовая 1", "", ""}}));
}

TEST_F(KnigaFormTest, AMissingBookIsReportedByTheActivation)
{
    whileShown(*KnigaForm, [&] {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, platform::mbErrorOk);
        EXPECT_FALSE(KnigaForm->Table1.active());
    });
    EXPECT_FALSE(QFile::exists(book));
}

} // namespace

TEST_F(KnigaFormTest, ABookHeldByAnotherProgramIsSaidToBeBusyAndOpenedAgainAtTheNextShowing)
{
    makeBook(names({"Петров"}));
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(book.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    whileShown(*KnigaForm, [&] {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("занят другой программой"))) << shown[0].text.toStdString();
        EXPECT_EQ(shown[0].style, platform::mbExclamationOk);
        EXPECT_FALSE(KnigaForm->FlatSpeedButton1->isEnabled());
        EXPECT_FALSE(recordButtonsEnabled());
        KnigaForm->gfhfg1Click(); // the menu's add: said busy again, no editor
        EXPECT_EQ(shown.size(), 2u);
        EXPECT_FALSE(AddRedForm->isVisible());
    });
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    whileShown(*KnigaForm, [&] {
        EXPECT_EQ(currentName(), QStringLiteral("Петров"));
        EXPECT_TRUE(KnigaForm->FlatSpeedButton1->isEnabled());
        EXPECT_TRUE(recordButtonsEnabled());
    });
    EXPECT_EQ(shown.size(), 2u);
}

// A resident's book kept by the engine the program once used: moved at the
// first showing, said once; a locked one refused with the window still there.
TEST_F(KnigaFormTest, AParadoxBookIsMovedAtTheFirstShowingAndSaidOnce)
{
    ParadoxBuilder paradox;
    paradox.fields = {{ParadoxBuilder::Alpha, 30, "FIO"},
                      {ParadoxBuilder::Alpha, 40, "ADR"},
                      {ParadoxBuilder::Alpha, 15, "TEL"},
                      {ParadoxBuilder::Alpha, 50, "MAIL"}};
    paradox.addTexts({QStringLiteral("Иванов Иван"), QStringLiteral("Ленина 1"), QStringLiteral("123"), {}});
    paradox.addTexts({QStringLiteral("Петров Пётр"), {}, QStringLiteral("456"), {}});
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(paradox.build());
    file.close();
    for (int showing = 0; showing < 2; ++showing) {
        shown.clear();
        whileShown(*KnigaForm, [&] {
            EXPECT_EQ(KnigaForm->Table1.recordCount(), 2);
            EXPECT_EQ(currentName(), QStringLiteral("Иванов Иван"));
        });
        ASSERT_EQ(shown.size(), showing == 0 ? 1u : 0u) << "said once";
        if (showing == 0) {
            EXPECT_TRUE(shown[0].text.contains(QStringLiteral("«basamy-paradox.db»"))) << shown[0].text.toStdString();
        }
    }
    KnigaForm->Table1.close();

    paradox.encrypted = true;
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(paradox.build());
    file.close();
    shown.clear();
    whileShown(*KnigaForm, [&] {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("защищена паролем"))) << shown[0].text.toStdString();
        EXPECT_TRUE(KnigaForm->isVisible()) << "the window stays usable";
        EXPECT_FALSE(KnigaForm->Table1.active());
    });
}
