#pragma once

#include "support/tablefixture.h"

#include "dataio/language.h"

#include <QByteArray>
#include <QStringList>

// Tests of files in and out run in a fresh working directory, in English.
class DataIoTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        dataio::setLanguage(dataio::Language::English);
    }
};

QByteArray utf8(const char *text);

// The table's rows in table order with null shown as "<null>", so that a
// null and an empty text differ in comparisons.
std::vector<QStringList> rowsOf(const QString &fileName);

// The data tool as a publisher runs it, under the given locale: exit status
// (-1 for a crash) and what it printed.
class DataToolTest : public DataIoTest {
protected:
    int run(const QStringList &args, const QString &locale = QStringLiteral("C.UTF-8"));
    QString out, err;
};

// A publisher's spreadsheets: town.csv as given and codes.tsv with one
// locality for each of the six regions; returns the codes file's bytes.
QByteArray writeTownFiles(const QByteArray &town);
