#pragma once

#include "platform/messagebox.h"
#include "support/tablefixture.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
class Form;
}

// Each test runs in a fresh working directory with every message box
// answered by the test: queued answers first, then OK or Yes.
class WindowsTest : public WorkDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void answerNext(int result) { answers_.push_back(result); }
    std::vector<platform::ShownMessage> shown;

private:
    std::deque<int> answers_;
};

// Shows `form` modally, runs `script` inside its modal loop, then closes it.
void whileShown(platform::Form &form, const std::function<void()> &script);

// Types `text` into `control` key by key, Cyrillic included.
void typeText(QWidget *control, const QString &text);
