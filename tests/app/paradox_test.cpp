#include "appfixture.h"

#include "app/form1.h"
#include "controls/combo/dbcomboboxex.h"
#include "controls/flat/flatspeedbutton.h"
#include "data/paradoxtable.h"
#include "windows/forms.h"
#include "windows/kodform.h"

#include <QLineEdit>
#include <QTest>

// A basa.tel whose tables are Paradox tables, searched through the windows
// exactly like the same records in our format.

namespace {

class ParadoxArchive : public AppFixture {
protected:
    void SetUp() override
    {
        archive = QStringLiteral(SPRAV_TEST_PARADOX_ARCHIVE);
        countedTable = QStringLiteral(SPRAV_TEST_GEN_DIR "/data.db");
        AppFixture::SetUp();
    }
};

} // namespace

TEST_F(ParadoxArchive, SearchesAndDialingCodesFindWhatOurTablesHold)
{
    start();
    ASSERT_TRUE(data::ParadoxTable::isParadoxFile(path("data.db")));
    ASSERT_TRUE(data::ParadoxTable::isParadoxFile(path("kod.db")));
    struct Case {
        const char *tel, *abon, *adres;
    };
    for (const Case c : {Case{"", "", ""}, Case{"12", "", ""}, Case{"", "СО", ""}, Case{"", "", "ЛЕ"},
                         Case{"2", "", "Л"}, Case{"2", "И", ""}}) {
        main().FlatSpeedButton2->Click();
        const int expected = countMatching(c.tel, c.abon, c.adres);
        ASSERT_GT(expected, 0) << c.tel << c.abon << c.adres;
        main().Edit1->setText(c.tel);
        main().Edit2->setText(QString::fromUtf8(c.abon));
        main().Edit3->setText(QString::fromUtf8(c.adres));
        QTest::keyClick(main().Edit1, Qt::Key_Return);
        EXPECT_EQ(main().Query1.recordCount(), expected) << c.tel << c.abon << c.adres;
    }
    EXPECT_TRUE(shown.empty());

    KodForm->DBComboBoxEx1->setItemIndex(4);
    KodForm->FlatSpeedButton1->Click();
    EXPECT_GT(KodForm->Query1.recordCount(), 0);
    EXPECT_EQ(KodForm->Query1.fieldByName("Np").asString().isEmpty(), false);
    KodForm->Edit1->setText(QStringLiteral("М"));
    KodForm->FlatSpeedButton2->Click();
    EXPECT_GT(KodForm->Query2.recordCount(), 0);
    EXPECT_TRUE(KodForm->Query2.fieldByName("Np").asString().startsWith(u'М'));
    EXPECT_TRUE(shown.empty());
}
