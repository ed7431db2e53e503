#pragma once

#include "app/program.h"
#include "platform/messagebox.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class TForm1;

// The whole program in a temporary working directory that holds a copy of
// the test archive and an empty phone book. Every message box is answered by
// `answer` and recorded.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program: creates the windows and shows the main one, then
    // lets its first activation (and unpack) run.
    void start();
    TForm1 &main();
    QString path(const QString &name) const;
    bool exists(const QString &name) const;
    // Counts the directory records matching the three prefixes straight
    // from the unpacked table.
    int countMatching(const QString &tel, const QString &abon, const QString &adres) const;
    void settle();

    std::function<int(const platform::ShownMessage &)> answer = [](const platform::ShownMessage &m) {
        return m.style == platform::mbQuestionYesNo ? platform::idNo : platform::idOk;
    };
    std::vector<platform::ShownMessage> shown;
    bool withArchive = true;
    QString archive = QStringLiteral(SPRAV_TEST_ARCHIVE);
    // The table countMatching reads: the unpacked one unless set.
    QString countedTable;

private:
    QTemporaryDir dir_;
    QString previousDir_;
    std::unique_ptr<Program> program_;
};
