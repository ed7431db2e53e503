#pragma once

#include "data/query.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// Readable failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Runs each test in a fresh working directory, where table files are made.
class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString path(const QString &fileName) const { return dir_.filePath(fileName); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path); // empty when it cannot be read

// Writes a table file holding one table named after it. A null QString in a
// row stores NULL, an empty one stores ''.
void makeTable(const QString &fileName, const QString &columns, const std::vector<QStringList> &rows = {});

// Rows of the table file in table order, read directly from the engine;
// NULL reads as a null QString.
std::vector<QStringList> readTable(const QString &fileName);

// A query over a table file "nums.db" holding the numbers 1..count in
// table order, for tests of positioning and notifications.
class NumbersTest : public WorkDirTest {
protected:
    void makeNumbers(int count);
    void openNumbers(int count);
    int current() const { return numbers.fieldByName(QStringLiteral("N")).asString().toInt(); }

    data::Query numbers;
};
