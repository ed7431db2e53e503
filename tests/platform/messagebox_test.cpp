#include "platform/activation.h"
#include "platform/application.h"
#include "platform/errorreport.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

namespace {

struct Answerer : ::testing::Test {
    void TearDown() override { setMessageAnswerer({}); }
};

// Runs `inspect` on the real box once it is up, then lets `finish` close it.
template <typename Inspect> void whenBoxIsUp(Inspect inspect)
{
    QTimer::singleShot(0, [inspect] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        inspect(*box);
    });
}

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *b : box.buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

} // namespace

TEST_F(Answerer, SeesEachBoxAsCalledAndDecidesTheResult)
{
    QList<ShownMessage> shown;
    setMessageAnswerer([&](const ShownMessage &m) {
        shown.append(m);
        return m.style == mbQuestionYesNo ? idNo : idOk;
    });
    EXPECT_EQ(messageBox(QStringLiteral("Вы уверены?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idNo);
    EXPECT_EQ(messageBox(QStringLiteral("А\rБ"), QStringLiteral("Внимание!"), mbExclamationOk), idOk);
    setApplicationTitle(QStringLiteral("Справочник"));
    showPlainMessage(QStringLiteral("line\nnext"));
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[1].text, QStringLiteral("А\rБ")); // texts are passed as the caller wrote them
    EXPECT_EQ(shown[1].caption, QStringLiteral("Внимание!"));
    EXPECT_EQ(shown[2].caption, QStringLiteral("Справочник"));
    EXPECT_EQ(shown[2].style, 0);
}

TEST_F(Answerer, EscapingErrorIsReportedAndStopsOnlyTheHandler)
{
    QList<ShownMessage> shown;
    setMessageAnswerer([&](const ShownMessage &m) {
        shown.append(m);
        return idOk;
    });
    setApplicationTitle(QStringLiteral("Справочник"));
    bool afterThrow = false;
    EXPECT_FALSE(runGuarded([&] {
        throw std::runtime_error("Cannot perform this operation on an empty dataset");
        afterThrow = true;
    }));
    EXPECT_FALSE(afterThrow);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Cannot perform this operation on an empty dataset"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("Справочник"));
    EXPECT_EQ(shown[0].style, mbErrorOk);

    EXPECT_FALSE(runGuarded([] { throw 42; })); // not a standard exception: still reported
    EXPECT_EQ(shown.size(), 2);
    EXPECT_TRUE(runGuarded([] {}));
    EXPECT_EQ(shown.size(), 2);
}

TEST(RealMessageBox, YesNoBoxHasRussianButtonsYesAsDefaultAndEscapeMeansNo)
{
    whenBoxIsUp([](QMessageBox &box) {
        EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
        EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Да"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Подтверждение"));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(messageBox(QStringLiteral("Выйти?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idNo);

    whenBoxIsUp([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(messageBox(QStringLiteral("Выйти?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idYes);

    whenBoxIsUp([](QMessageBox &box) { box.close(); }); // the close box
    EXPECT_EQ(messageBox(QStringLiteral("Выйти?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idNo);
}

TEST(RealMessageBox, BoxesAnswerAFreshKeyPressNeverTheRepeatOfAHeldKey)
{
    // A key held down since before the box came up repeats into it.
    // X sends it as a release and a press of one instant, flagged as a repeat
    // or not.
    const auto pressHeldThenFresh = [](Qt::Key key) {
        whenBoxIsUp([key](QMessageBox &box) {
            for (bool flagged : {true, false}) {
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), flagged);
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), flagged);
                release.setTimestamp(1000);
                press.setTimestamp(1000);
                QApplication::sendEvent(box.focusWidget(), &release);
                QApplication::sendEvent(box.focusWidget(), &press);
                EXPECT_TRUE(box.isVisible()) << "a repeated key answered the box, flagged " << flagged;
            }
            QTest::keyClick(box.focusWidget(), key);
        });
    };
    pressHeldThenFresh(Qt::Key_Escape);
    EXPECT_EQ(messageBox(QStringLiteral("Выйти?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idNo);
    pressHeldThenFresh(Qt::Key_Return);
    EXPECT_EQ(messageBox(QStringLiteral("Выйти?"), QStringLiteral("Подтверждение"), mbQuestionYesNo), idYes);
    pressHeldThenFresh(Qt::Key_Return);
    showPlainMessage(QStringLiteral("archive report"));
}

TEST(RealMessageBox, OkBoxBreaksLinesAtCarriageReturnAndShowsPlainText)
{
    whenBoxIsUp([](QMessageBox &box) {
        EXPECT_EQ(buttonTexts(box), QStringList{QStringLiteral("OK")});
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.text(), QStringLiteral("Не найдено.\n<b>Повторите</b>"));
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(messageBox(QStringLiteral("Не найдено.\r<b>Повторите</b>"), QStringLiteral("Внимание!"), mbExclamationOk),
              idOk);

    whenBoxIsUp([](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.close();
    });
    EXPECT_EQ(messageBox(QStringLiteral("Нет имени"), QStringLiteral("Ошибка"), mbErrorOk), idOk);
}

TEST(RealMessageBox, PlainMessageWindowHasNoIconOneOkAndTheTitle)
{
    setApplicationTitle(QStringLiteral("Телефонный справочник // Версия 1.00"));
    whenBoxIsUp([](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(buttonTexts(box), QStringList{QStringLiteral("OK")});
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Телефонный справочник // Версия 1.00"));
        EXPECT_EQ(box.text(), QStringLiteral("first\nsecond"));
        QTest::keyClick(&box, Qt::Key_Return);
    });
    showPlainMessage(QStringLiteral("first\nsecond"));
}

TEST_F(Answerer, OnlyThePlainMessageWindowReactivatesTheWindowUnderIt)
{
    setMessageAnswerer([](const ShownMessage &) { return idOk; });
    QWidget form;
    int activations = 0;
    ActivationTracker::instance().enter(&form, [&] { ++activations; });
    ASSERT_EQ(activations, 1);

    messageBox(QStringLiteral("x"), QStringLiteral("Ошибка"), mbErrorOk);
    reportError(QStringLiteral("engine error"));
    EXPECT_EQ(activations, 1);

    showPlainMessage(QStringLiteral("archive report"));
    EXPECT_EQ(activations, 2);
    EXPECT_EQ(ActivationTracker::instance().current(), &form);
    ActivationTracker::instance().leave(&form);
}
