#include "gridfixture.h"

#include "platform/colors.h"
#include "platform/fonts.h"

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

void setUpResultGrid(grid::TDBGridEx &g, bool withFooter)
{
    using namespace grid;
    g.setFont(platform::makeFont());
    g.setFlat(true);
    g.setReadOnly(true);
    g.setOptions({dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection,
                  dgConfirmDelete, dgCancelOnExit});
    g.setOptionsEx({dgxFixed3D, dgxHighlightFocus, dgxClearSelection, dgxRowHighlight});
    g.setUseMultiTitle(true);
    if (withFooter) {
        g.setFooterRowCount(1);
        g.setFooterColor(platform::colors::clMenu);
        g.setFooterFontColor(platform::colors::clRed);
    }
}

MainGridSetup::MainGridSetup(int rows, int height)
    : file(std::make_unique<TableFile>(QStringList{"Tel VARCHAR(5)", "Abon VARCHAR(150)"}, rows, numberedRow)),
      grid(std::make_unique<grid::TDBGridEx>())
{
    using namespace grid;
    table.setTableName(QStringLiteral("t.db"));
    grid->resize(697, height);
    grid->beginLoading();
    setUpResultGrid(*grid, true);
    grid->setAutoFitColWidths(true);
    grid->sumList().setActive(true);
    TDBGridColumnEx &tel = grid->columns().add();
    tel.setFieldName(QStringLiteral("Tel"));
    tel.setWidth(68);
    tel.footer().setValueType(fvtStaticText);
    tel.footer().setValue(QStringLiteral("Записей"));
    TDBGridColumnEx &abon = grid->columns().add();
    abon.setFieldName(QStringLiteral("Abon"));
    abon.setWidth(604);
    abon.footer().setValueType(fvtCount);
    grid->setDataSource(&source);
    grid->loaded();
}

std::unique_ptr<grid::TDBGridEx> makeLowerGrid(MainGridSetup &upper, const QString &field)
{
    auto lower = std::make_unique<grid::TDBGridEx>();
    lower->resize(697, 137);
    setUpResultGrid(*lower, true);
    lower->sumList().setActive(true);
    grid::TDBGridColumnEx &column = lower->columns().add();
    column.setFieldName(field);
    column.footer().setValueType(grid::fvtCount);
    lower->setDataSource(&upper.source);
    return lower;
}
