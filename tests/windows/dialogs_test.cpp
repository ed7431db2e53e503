#include "controls/grid/dbgridex.h"
#include "windows/aboutform.h"
#include "windows/addredform.h"
#include "windows/firstform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include "windowstest.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace {

class DialogsTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        makeTable(QStringLiteral("basamy.db"),
                  QStringLiteral("FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), MAIL VARCHAR(50)"),
                  {{QStringLiteral("Иванов"), {}, {}, {}}});
        KnigaForm = new TKnigaForm;
        AddRedForm = new TAddRedForm;
        forms = {KnigaForm, AddRedForm, new TKodForm, new TFirstForm, new TAboutForm};
    }
    void TearDown() override
    {
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            delete *it;
        WindowsTest::TearDown();
    }

    std::vector<platform::Form *> forms;
};

} // namespace

TEST_F(DialogsTest, EachWindowIsADialogWithTheCloseBoxOnlyThatEscapeCloses)
{
    for (platform::Form *form : forms) {
        SCOPED_TRACE(form->objectName().toStdString());
        const Qt::WindowFlags flags = form->windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        bool closedByEscape = false;
        whileShown(*form, [&] {
            QWidget *focused = QApplication::focusWidget() ? QApplication::focusWidget() : form;
            QTest::keyClick(focused, Qt::Key_Escape);
            closedByEscape = !form->isVisible();
        });
        EXPECT_TRUE(closedByEscape);
        // A grid that is only browsed passes Escape on to its window.
        for (grid::TCustomDBGridEx *grid : form->findChildren<grid::TCustomDBGridEx *>()) {
            bool closedFromGrid = false;
            whileShown(*form, [&] {
                grid->setFocus();
                QTest::keyClick(grid, Qt::Key_Escape);
                closedFromGrid = !form->isVisible();
            });
            EXPECT_TRUE(closedFromGrid) << grid->objectName().toStdString();
        }
    }
    EXPECT_EQ(KnigaForm->Table1.recordCount(), 1); // the editor's Escape stored nothing
}
