#pragma once

#include "tablefixture.h"

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

void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
QByteArray utf8(const char *text);

// The table's rows in table order with null shown as "<null>", so that a
// null and an empty text differ in comparisons.
std::vector<QStringList> rowsOf(const QString &fileName);
