#include "platform/form.h"
#include "platform/onecopy.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::OneCopyPerFolder;

TEST(OneCopy, ASecondStartInTheFolderBringsTheFirstForwardAndAnotherFolderRunsItsOwn)
{
    QTemporaryDir folder, other;
    platform::Form main;
    platform::Form::setMainForm(&main);
    main.showMinimized();
    OneCopyPerFolder first(folder.path());
    ASSERT_EQ(first.claim(), OneCopyPerFolder::First);
    OneCopyPerFolder second(folder.path());
    EXPECT_EQ(second.claim(), OneCopyPerFolder::Forwarded);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isMinimized(); }));
    OneCopyPerFolder elsewhere(other.path());
    EXPECT_EQ(elsewhere.claim(), OneCopyPerFolder::First);
    platform::Form::setMainForm(nullptr);
}

TEST(OneCopy, TheLockOfAKilledCopyDoesNotBlock)
{
    QTemporaryDir folder;
    const pid_t child = fork();
    if (child == 0) {
        OneCopyPerFolder killed(folder.path());
        killed.claim();
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    OneCopyPerFolder next(folder.path());
    EXPECT_EQ(next.claim(), OneCopyPerFolder::First);
}
