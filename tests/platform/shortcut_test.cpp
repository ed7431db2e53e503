#include "platform/lonekeyshortcut.h"

#include <QAction>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// Insert alone runs its short-cut when it goes up; held as a screen
// reader's modifier for another key it runs nothing, and the control never
// sees the press.
TEST(LoneKeyShortcut, RunsOnlyWhenNoOtherKeyWasPressed)
{
    struct Case {
        const char *name;
        Qt::KeyboardModifiers modifiers;
        Qt::Key other; // pressed while Insert is held, or 0
        int runs;
    };
    const Case cases[] = {
        {"Insert", Qt::NoModifier, Qt::Key(0), 1},
        {"Insert+KP_Enter", Qt::NoModifier, Qt::Key_Enter, 0},
        {"Insert+H", Qt::NoModifier, Qt::Key_H, 0},
        {"Shift+Insert", Qt::ShiftModifier, Qt::Key(0), 1},
        {"Shift+Insert+Down", Qt::ShiftModifier, Qt::Key_Down, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget control;
        control.setFocusPolicy(Qt::StrongFocus);
        QAction action(&control);
        action.setShortcut(QKeySequence(c.modifiers | Qt::Key_Insert));
        action.setShortcutContext(Qt::WidgetShortcut);
        control.addAction(&action);
        platform::runOnLoneRelease(&action, &control);
        int runs = 0;
        QObject::connect(&action, &QAction::triggered, [&runs] { ++runs; });
        control.show();
        control.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&control));

        QTest::keyPress(&control, Qt::Key_Insert, c.modifiers);
        EXPECT_EQ(runs, 0);
        if (c.other)
            QTest::keyClick(&control, c.other, c.modifiers);
        QTest::keyRelease(&control, Qt::Key_Insert, c.modifiers);
        EXPECT_EQ(runs, c.runs);
    }
}
