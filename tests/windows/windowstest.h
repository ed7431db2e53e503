#pragma once

#include "messagebox.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
class Form;
}

// Each test runs in a fresh working directory with every message box
// answered by the test: queued answers first, then OK or Yes.
class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void answerNext(int result) { answers_.push_back(result); }
    std::vector<platform::ShownMessage> shown;

private:
    QTemporaryDir dir_;
    QString previous_;
    std::deque<int> answers_;
};

// Shows `form` modally, runs `script` inside its modal loop, then closes it.
void whileShown(platform::Form &form, const std::function<void()> &script);

// Types `text` into `control` key by key, Cyrillic included.
void typeText(QWidget *control, const QString &text);

// A table file of the working directory holding one table named after it.
void makeTable(const QString &fileName, const QString &columns, const std::vector<QStringList> &rows = {});
// Its rows in table order; NULL reads as an empty string.
std::vector<QStringList> readTable(const QString &fileName);
