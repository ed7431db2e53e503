#include "data/paradoxsql.h"

#include "data/dataset.h"
#include "data/paradoxtable.h"
#include "data/records.h"
#include "data/sqlitedb.h"
#include "data/tablefile.h"

#include <memory>

namespace data::sqlite {

namespace {

// A read-only virtual table over records read beforehand: a full scan in
// table order, which is all the searches ask of it.
struct RecordsTable : sqlite3_vtab {
    std::shared_ptr<const Records> records;
};

struct RecordsCursor : sqlite3_vtab_cursor {
    int row = 0;
};

const Records &recordsOf(sqlite3_vtab_cursor *cursor)
{
    return *static_cast<RecordsTable *>(cursor->pVtab)->records;
}

int connect(sqlite3 *db, void *aux, int, const char *const *, sqlite3_vtab **table, char **)
{
    const auto &records = *static_cast<std::shared_ptr<const Records> *>(aux);
    QStringList columns;
    for (int i = 0; i < records->columnCount(); ++i) {
        const int size = records->sizes[std::size_t(i)];
        columns.append(quoted(records->names[i]) +
                       (size > 0 ? QStringLiteral(" VARCHAR(%1)").arg(size) : QStringLiteral(" TEXT")));
    }
    const int code =
        sqlite3_declare_vtab(db, QStringLiteral("CREATE TABLE x(%1)").arg(columns.join(u',')).toUtf8().constData());
    if (code != SQLITE_OK)
        return code;
    auto *created = new RecordsTable{};
    created->records = records;
    *table = created;
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab *table, sqlite3_index_info *info)
{
    info->estimatedCost = double(static_cast<RecordsTable *>(table)->records->rowCount()) + 1;
    info->estimatedRows = static_cast<RecordsTable *>(table)->records->rowCount();
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *table)
{
    delete static_cast<RecordsTable *>(table);
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab *, sqlite3_vtab_cursor **cursor)
{
    *cursor = new RecordsCursor{};
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor *cursor)
{
    delete static_cast<RecordsCursor *>(cursor);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor *cursor, int, const char *, int, sqlite3_value **)
{
    static_cast<RecordsCursor *>(cursor)->row = 0;
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *cursor)
{
    ++static_cast<RecordsCursor *>(cursor)->row;
    return SQLITE_OK;
}

int atEnd(sqlite3_vtab_cursor *cursor)
{
    return static_cast<RecordsCursor *>(cursor)->row >= recordsOf(cursor).rowCount();
}

int column(sqlite3_vtab_cursor *cursor, sqlite3_context *context, int index)
{
    const std::string_view text = recordsOf(cursor).text(static_cast<RecordsCursor *>(cursor)->row, index);
    if (text.data() == nullptr)
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, text.data(), int(text.size()), SQLITE_STATIC);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor *cursor, sqlite3_int64 *id)
{
    *id = static_cast<RecordsCursor *>(cursor)->row + 1;
    return SQLITE_OK;
}

const sqlite3_module kModule = [] {
    sqlite3_module module{};
    module.xCreate = connect;
    module.xConnect = connect;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = disconnect;
    module.xOpen = openCursor;
    module.xClose = closeCursor;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = atEnd;
    module.xColumn = column;
    module.xRowid = rowid;
    return module;
}();

} // namespace

void attachParadoxTable(Connection &connection, const QString &fileName, const QString &schema)
{
    auto records = std::make_shared<Records>();
    readParadoxFile(tableFilePath(fileName), fileName, *records);
    const QString module = QStringLiteral("paradox_") + schema;
    auto *aux = new std::shared_ptr<const Records>(std::move(records));
    const int code = sqlite3_create_module_v2(connection.handle(), module.toUtf8().constData(), &kModule, aux,
                                              [](void *p) { delete static_cast<std::shared_ptr<const Records> *>(p); });
    if (code != SQLITE_OK)
        connection.fail(code);
    Statement(connection, QStringLiteral("ATTACH DATABASE ':memory:' AS %1").arg(schema)).run();
    Statement(connection,
              QStringLiteral("CREATE VIRTUAL TABLE %1.%2 USING %3").arg(schema, quoted(tableNameOf(fileName)), module))
        .run();
}

} // namespace data::sqlite
