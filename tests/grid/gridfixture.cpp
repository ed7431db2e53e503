#include "gridfixture.h"

#include "windows/declaredgrid.h"

#include <sqlite3.h>

TableFile::TableFile(const QStringList &columns, int rowCount, const std::function<QStringList(int)> &row)
    : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
    sqlite3 *db = nullptr;
    sqlite3_open("t.db", &db);
    auto exec = [db](const QString &sql) { sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); };
    exec(QStringLiteral("CREATE TABLE t (%1)").arg(columns.join(u',')));
    exec(QStringLiteral("BEGIN"));
    QStringList marks(columns.size(), QStringLiteral("?"));
    sqlite3_stmt *insert = nullptr;
    QByteArray sql = QStringLiteral("INSERT INTO t VALUES (%1)").arg(marks.join(u',')).toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
    for (int i = 1; i <= rowCount; ++i) {
        QStringList values = row(i);
        for (int c = 0; c < values.size(); ++c) {
            QByteArray text = values[c].toUtf8();
            if (values[c].isEmpty())
                sqlite3_bind_null(insert, c + 1);
            else
                sqlite3_bind_text(insert, c + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(QStringLiteral("COMMIT"));
    sqlite3_close(db);
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
