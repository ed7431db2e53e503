#pragma once

#include "controls/grid/dbgridex.h"
#include "data/datasource.h"
#include "data/table.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Writes a table file in the working directory (see TableFile).
void writeTableFile(const QString &fileName, const QStringList &columns, int rowCount,
                    const std::function<QStringList(int)> &row);

// A working directory with one table file "t.db" (table "t") whose text
// columns and rows the test chooses, opened through the data layer.
class TableFile {
public:
    // `columns` like {"Tel VARCHAR(5)", "Abon VARCHAR(150)"}; `rows` values in
    // column order, written as the data tool writes them (empty text as NULL).
    TableFile(const QStringList &columns, int rowCount, const std::function<QStringList(int)> &row);
    ~TableFile();
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Rows "1".."n" in Tel and "Абонент n" in Abon.
QStringList numberedRow(int i);

// The main window's upper result grid: 697 x 215, Tel 68 and Abon 604 with a
// "Записей" footer and a record count, on a table of `rows` records.
struct MainGridSetup {
    explicit MainGridSetup(int rows, int height = 215);
    std::unique_ptr<TableFile> file;
    data::Table table;
    data::DataSource source{&table};
    std::unique_ptr<grid::TDBGridEx> grid;
};

// A result grid of `size` made as the program's windows make theirs.
std::unique_ptr<grid::TDBGridEx> makeResultGrid(QSize size, data::DataSource *source = nullptr);

// The main window's lower grid beside the upper one: one column on `field`
// with a count footer, on the same data source.
std::unique_ptr<grid::TDBGridEx> makeLowerGrid(MainGridSetup &upper, const QString &field);
