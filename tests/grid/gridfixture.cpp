#include "gridfixture.h"

#include "dataio/tablewriter.h"
#include "windows/declaredgrid.h"

#include <QRegularExpression>

void writeTableFile(const QString &fileName, const QStringList &columns, int rowCount,
                    const std::function<QStringList(int)> &row)
{
    static const QRegularExpression declared(QStringLiteral(R"((\w+) VARCHAR\((\d+)\))"));
    dataio::TableLayout layout;
    for (const QString &column : columns) {
        const QRegularExpressionMatch match = declared.match(column);
        layout.columns.append({match.captured(1), match.captured(1), match.captured(2).toInt(), false});
    }
    dataio::TableWriter writer(fileName, layout);
    for (int i = 1; i <= rowCount; ++i)
        writer.add(row(i));
    writer.finish();
}

TableFile::TableFile(const QStringList &columns, int rowCount, const std::function<QStringList(int)> &row)
    : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
    writeTableFile(QStringLiteral("t.db"), columns, rowCount, row);
}

TableFile::~TableFile()
{
    QDir::setCurrent(previous_);
}

QStringList numberedRow(int i)
{
    return {QString::number(i), QStringLiteral("Абонент %1").arg(i)};
}

std::unique_ptr<grid::TDBGridEx> makeResultGrid(QSize size, data::DataSource *source)
{
    return std::unique_ptr<grid::TDBGridEx>(windows::makeResultGrid(nullptr, QRect({0, 0}, size), source));
}

MainGridSetup::MainGridSetup(int rows, int height)
    : file(std::make_unique<TableFile>(QStringList{"Tel VARCHAR(5)", "Abon VARCHAR(150)"}, rows, numberedRow)),
      grid(makeResultGrid({697, height}, &source))
{
    table.setTableName(QStringLiteral("t.db"));
    grid->beginLoading();
    windows::addColumns(*grid, {{QStringLiteral("Tel"), 68}, {QStringLiteral("Abon"), 604}});
    grid->columns()[0].footer().setValueType(grid::fvtStaticText);
    grid->columns()[0].footer().setValue(QStringLiteral("Записей"));
    grid->columns()[1].footer().setValueType(grid::fvtCount);
    windows::addSearchLook(*grid);
    grid->loaded();
}

std::unique_ptr<grid::TDBGridEx> makeLowerGrid(MainGridSetup &upper, const QString &field)
{
    auto lower = makeResultGrid({697, 137}, &upper.source);
    windows::addColumns(*lower, {{field}});
    lower->columns()[0].footer().setValueType(grid::fvtCount);
    windows::addSearchLook(*lower);
    return lower;
}
