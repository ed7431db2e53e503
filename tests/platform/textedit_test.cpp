#include "platform/lineeditaccessible.h"
#include "platform/uppercaseedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using platform::TextUnit;

namespace {

// QTest::keyClicks knows Latin-1 only.
void type(QWidget *target, const QString &text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
}

std::unique_ptr<QWidget> windowWithUpperCaseEdit(QLineEdit *&edit)
{
    auto window = std::make_unique<QWidget>();
    edit = platform::makeUpperCaseEdit(window.get(), {0, 0, 200, 21});
    window->show();
    edit->setFocus();
    return window;
}

} // namespace

// Each typed letter lands where the cursor is, upper-cased, also when its
// capital is longer than the letter; pasting goes through the same rule.
TEST(UpperCaseEdit, KeepsTheCursorAfterTheTextItWasAfter)
{
    QLineEdit *edit;
    auto window = windowWithUpperCaseEdit(edit);
    type(edit, QStringLiteral("ßa"));
    EXPECT_EQ(edit->text(), QStringLiteral("SSA"));
    edit->setCursorPosition(0);
    edit->insert(QStringLiteral("ßб"));
    EXPECT_EQ(edit->text(), QStringLiteral("SSБSSA"));
    EXPECT_EQ(edit->cursorPosition(), 3);
}

// Each keystroke is one insertion of its capital, as a screen reader's
// character echo reports it, never the whole text set anew (which would
// also forget the undo history).
TEST(UpperCaseEdit, TypesEachKeystrokeAsOneInsertion)
{
    QLineEdit *edit;
    auto window = windowWithUpperCaseEdit(edit);
    type(edit, QStringLiteral("ив"));
    EXPECT_EQ(edit->text(), QStringLiteral("ИВ"));
    EXPECT_TRUE(edit->isUndoAvailable());
}

TEST(LineEditAccessible, FindsWordsAndLinesInBoundedSteps)
{
    const QString text = QStringLiteral("ИВАНОВ ИВАН");
    struct Case {
        int offset;
        QAccessible::TextBoundaryType boundary;
        TextUnit before, at, after;
    };
    const Case cases[] = {
        {0, QAccessible::WordBoundary, {0, 0}, {0, 6}, {6, 7}},
        {3, QAccessible::WordBoundary, {0, 0}, {0, 6}, {6, 7}},
        {6, QAccessible::WordBoundary, {0, 6}, {6, 7}, {7, 11}},
        {11, QAccessible::WordBoundary, {7, 11}, {11, 11}, {11, 11}},
        {40, QAccessible::WordBoundary, {7, 11}, {11, 11}, {11, 11}},
        {-1, QAccessible::CharBoundary, {0, 0}, {0, 1}, {1, 2}},
        {11, QAccessible::CharBoundary, {10, 11}, {11, 11}, {11, 11}},
        {11, QAccessible::LineBoundary, {0, 0}, {0, 11}, {11, 11}},
        {4, QAccessible::SentenceBoundary, {0, 0}, {0, 11}, {11, 11}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " boundary " << c.boundary);
        EXPECT_EQ(platform::textUnitBefore(text, c.offset, c.boundary), c.before);
        EXPECT_EQ(platform::textUnitAt(text, c.offset, c.boundary), c.at);
        EXPECT_EQ(platform::textUnitAfter(text, c.offset, c.boundary), c.after);
    }
}

// The query a screen reader makes on Ctrl+Left after typing "12": every
// offset of every edit, plain or upper-case, answers (Qt's own interface
// loops for ever at the end).
TEST(LineEditAccessible, AnswersWordAndLineQueriesAtEveryOffset)
{
    platform::useLineEditAccessible();
    QWidget window;
    auto *plain = new QLineEdit(QStringLiteral("12"), &window);
    auto *upper = platform::makeUpperCaseEdit(&window, {0, 30, 100, 21});
    upper->setText(QStringLiteral("12 ЛЕНИНА"));
    window.show();
    for (QLineEdit *edit : {plain, upper}) {
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(edit)->textInterface();
        ASSERT_NE(text, nullptr);
        const int length = int(edit->text().size());
        for (int offset = 0; offset <= length; ++offset)
            for (auto boundary : {QAccessible::WordBoundary, QAccessible::LineBoundary}) {
                int start = -1, end = -1;
                const QString unit = text->textAtOffset(offset, boundary, &start, &end);
                EXPECT_EQ(unit, edit->text().mid(start, end - start));
                EXPECT_TRUE(start <= std::min(offset, end) && end <= length) << offset;
            }
    }
}
