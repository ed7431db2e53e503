// The password dialog's geometry and keys.
#include "archive/passworddlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QStringList kNoCaptions{"", "", "", ""};
constexpr TPasswordDlg::Buttons kAll =
    TPasswordDlg::pbOk | TPasswordDlg::pbCancel | TPasswordDlg::pbCancelAll | TPasswordDlg::pbAbort;

// Shows the dialog and lets `act` work on it once it is up.
int runDialog(TPasswordDlg &dlg, std::function<void()> act)
{
    QTimer::singleShot(0, [&] { act(); });
    return dlg.Execute();
}

} // namespace

TEST(PasswordDlg, GeometryFollowsTheButtonCount)
{
    TPasswordDlg dlg(TPasswordDlg::pbOk | TPasswordDlg::pbCancel | TPasswordDlg::pbCancelAll, "caption", "prompt",
                     kNoCaptions);
    EXPECT_EQ(dlg.size(), QSize(407, 137));
    EXPECT_EQ(dlg.promptLabel()->geometry(), QRect(20, 8, 297, 18));
    EXPECT_EQ(dlg.edit()->geometry().topLeft(), QPoint(20, 40));
    EXPECT_EQ(dlg.edit()->width(), 3 * 124 - 10);
    EXPECT_EQ(dlg.edit()->maxLength(), 80);
    EXPECT_EQ(dlg.edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.edit()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, dlg.edit()), '*');
    EXPECT_TRUE(dlg.button(TPasswordDlg::pbOk)->isDefault());
    EXPECT_EQ(dlg.button(TPasswordDlg::pbOk)->geometry(), QRect(20, 72, 114, 28));
    EXPECT_EQ(dlg.button(TPasswordDlg::pbCancel)->geometry(), QRect(144, 72, 114, 28));
    EXPECT_EQ(dlg.button(TPasswordDlg::pbCancelAll)->geometry(), QRect(268, 72, 114, 28));
    EXPECT_EQ(dlg.button(TPasswordDlg::pbAbort), nullptr);
    EXPECT_TRUE(dlg.button(TPasswordDlg::pbOk)->text().isEmpty());
    EXPECT_FALSE(dlg.button(TPasswordDlg::pbOk)->icon().isNull());
    EXPECT_EQ(dlg.font().pixelSize(), 12);
    EXPECT_TRUE(dlg.font().bold());
    EXPECT_EQ(dlg.windowTitle(), "caption");

    TPasswordDlg four(kAll, "", "", {"OK", "", "", ""});
    EXPECT_EQ(four.width(), 4 * 124 + 35);
    EXPECT_EQ(four.button(TPasswordDlg::pbAbort)->x(), 20 + 3 * 124);
    EXPECT_EQ(four.button(TPasswordDlg::pbOk)->text(), "OK");
}

TEST(PasswordDlg, ButtonsAndKeysGiveTheirModalResults)
{
    struct Case {
        std::function<void(TPasswordDlg &)> act;
        int result;
    };
    const Case cases[] = {
        {[](TPasswordDlg &d) { QTest::keyClick(d.edit(), Qt::Key_Return); }, TPasswordDlg::mrOk},
        {[](TPasswordDlg &d) { QTest::keyClick(d.edit(), Qt::Key_Escape); }, TPasswordDlg::mrCancel},
        {[](TPasswordDlg &d) {
             d.button(TPasswordDlg::pbCancel)->setFocus();
             QTest::keyClick(d.button(TPasswordDlg::pbCancel), Qt::Key_Return);
         },
         TPasswordDlg::mrCancel},
        {[](TPasswordDlg &d) { d.button(TPasswordDlg::pbCancelAll)->click(); }, TPasswordDlg::mrCancelAll},
        {[](TPasswordDlg &d) { d.button(TPasswordDlg::pbAbort)->click(); }, TPasswordDlg::mrAbort},
        {[](TPasswordDlg &d) { d.close(); }, TPasswordDlg::mrCancel},
    };
    for (const Case &c : cases) {
        TPasswordDlg dlg(kAll, "", "", kNoCaptions);
        EXPECT_EQ(runDialog(dlg,
                            [&] {
                                QTest::keyClicks(dlg.edit(), "Veresk");
                                c.act(dlg);
                            }),
                  c.result);
        EXPECT_EQ(dlg.password(), "Veresk");
        EXPECT_FALSE(dlg.isVisible());
    }
}
