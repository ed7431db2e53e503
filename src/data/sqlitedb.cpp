#include "data/sqlitedb.h"

#include "data/dataset.h"
#include "data/paradoxsql.h"
#include "data/paradoxtable.h"
#include "data/records.h"
#include "data/tablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstddef>

namespace data::sqlite {

namespace {
// Another program's write lock usually lasts milliseconds; waiting this long
// before reporting a locked table rides over it without freezing the window.
constexpr int kBusyTimeoutMs = 1000;

void requireFile(const QString &fileName)
{
    const QFileInfo file(tableFilePath(fileName));
    if (!file.isFile())
        throw EDatabaseError(
            QStringLiteral("Файл таблицы \"%1\" не найден в папке %2").arg(fileName, file.absolutePath()));
}

// The engine's pages live in one block kept for the program's life. Every
// search opens a fresh connection, and pages allocated anew for each would
// be faulted in anew: on a prefix search that cost as much as the search.
// Must run before the engine's first use; later it changes nothing.
void keepPageCacheMemory()
{
    [[maybe_unused]] static const bool configured = [] {
        int header = 0;
        sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header);
        // Two searches' caches of 16 KiB pages, as the data tool writes them;
        // larger pages and further pages come from the heap as before.
        constexpr int kSlots = 256;
        const int slot = (16384 + header + 7) / 8 * 8;
        // Untouched memory costs nothing until a page first uses it. Once
        // the engine has it, it is the engine's until the program ends.
        auto *block = new std::max_align_t[std::size_t(slot) * kSlots / sizeof(std::max_align_t) + 1];
        if (sqlite3_config(SQLITE_CONFIG_PAGECACHE, block, slot, kSlots) == SQLITE_OK)
            return true;
        delete[] block;
        return false;
    }();
}

bool onlySeparators(const char *text)
{
    for (; *text; ++text) {
        if (*text != ';' && !QChar::isSpace(uchar(*text)))
            return false;
    }
    return true;
}
} // namespace

// ---------------------------------------------------------------- Connection

Connection::Connection(sqlite3 *db, QString subject) : db_(db), subject_(std::move(subject)) {}

Connection Connection::open(const QByteArray &path, int flags, QString subject)
{
    keepPageCacheMemory();
    sqlite3 *raw = nullptr;
    const int code = sqlite3_open_v2(path.constData(), &raw, flags, nullptr);
    Connection connection(raw, std::move(subject));
    if (code != SQLITE_OK)
        connection.fail(code);
    return connection;
}

Connection Connection::openTable(const QString &fileName)
{
    requireFile(fileName);
    Connection connection = open(tableFilePath(fileName).toUtf8(), SQLITE_OPEN_READWRITE, fileName);
    sqlite3_busy_timeout(connection.handle(), kBusyTimeoutMs);
    // A rollback journal: the commit is the journal's removal, so the
    // directory is synced after it too (EXTRA; FULL syncs only the files).
    // A post that returned then survives a crash or a power loss.
    connection.exec("PRAGMA journal_mode=DELETE");
    connection.exec("PRAGMA synchronous=EXTRA");
    connection.table_ = connection.tableIn(QStringLiteral("main"), fileName);
    return connection;
}

Connection Connection::createFile(const QString &path)
{
    Connection connection =
        open(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, QFileInfo(path).fileName());
    connection.exec("PRAGMA journal_mode=DELETE");
    connection.exec("PRAGMA synchronous=FULL");
    return connection;
}

Connection Connection::openForQuery()
{
    // A connection never leaves the thread that opened it: no lock around
    // every call, which a million-row result makes millions of times.
    Connection connection =
        open(QByteArrayLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, QString());
    sqlite3_busy_timeout(connection.handle(), kBusyTimeoutMs);
    // The built-in LIKE in its case-sensitive form compares bytes, which is
    // what lets prefix patterns run as index range scans.
    connection.exec("PRAGMA case_sensitive_like=ON");
    return connection;
}

QString Connection::attachReadOnly(const QString &fileName, const QString &schema)
{
    requireFile(fileName);
    const QString attached = subject_;
    subject_ = fileName; // errors until the check passes concern this file alone
    if (ParadoxTable::isParadoxFile(tableFilePath(fileName))) {
        attachParadoxTable(*this, fileName, schema);
    } else {
        Statement attach(*this, QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(schema));
        attach.bindText(1, QUrl::fromLocalFile(tableFilePath(fileName)).toString(QUrl::FullyEncoded) +
                               QStringLiteral("?mode=ro"));
        attach.run();
    }
    const QString table = tableIn(schema, fileName);
    subject_ = attached.isEmpty() ? fileName : attached + QStringLiteral(", ") + fileName;
    return table;
}

QString Connection::tableIn(const QString &schema, const QString &fileName)
{
    Statement list(*this, QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type IN ('table', 'view') "
                                         "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")
                              .arg(schema));
    QStringList tables;
    while (list.step())
        tables.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(list.handle(), 0))));
    return tableHeldIn(fileName, tables);
}

void Connection::exec(const char *sql)
{
    const int code = sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

void Connection::fail(int code) const
{
    const QString files = subject_.isEmpty() ? QStringLiteral("(none)") : subject_;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: throw EDatabaseError(QStringLiteral("Файл таблицы \"%1\" занят другой программой").arg(files));
    case SQLITE_CANTOPEN: throw EDatabaseError(QStringLiteral("Не удалось открыть файл таблицы \"%1\"").arg(files));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw EDatabaseError(QStringLiteral("Файл таблицы \"%1\" повреждён или не является таблицей").arg(files));
    case SQLITE_READONLY:
        throw EDatabaseError(QStringLiteral("Файл таблицы \"%1\" доступен только для чтения").arg(files));
    case SQLITE_FULL: throw EDatabaseError(QStringLiteral("Диск заполнен при записи файла таблицы \"%1\"").arg(files));
    default:
        throw EDatabaseError(
            QStringLiteral("Файл таблицы \"%1\": %2").arg(files, QString::fromUtf8(sqlite3_errmsg(handle()))));
    }
}

// ---------------------------------------------------------------- Statement

Statement::Statement(const Connection &connection, const QString &sql, Kind kind) : connection_(connection)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    const int code = sqlite3_prepare_v2(connection.handle(), text.constData(), int(text.size()), &raw, &tail);
    stmt_.reset(raw);
    if (kind == Kind::Internal) {
        if (code != SQLITE_OK)
            connection.fail(code);
        return;
    }
    if (code == SQLITE_ERROR)
        throw EDatabaseError(
            QStringLiteral("Ошибка в тексте запроса: %1").arg(QString::fromUtf8(sqlite3_errmsg(connection.handle()))));
    if (code != SQLITE_OK)
        connection.fail(code);
    if (!raw)
        throw EDatabaseError(QStringLiteral("Ошибка в тексте запроса: запрос пуст"));
    if (!onlySeparators(tail))
        throw EDatabaseError(QStringLiteral("Ошибка в тексте запроса: в нём больше одного запроса"));
    if (!sqlite3_stmt_readonly(raw))
        throw EDatabaseError(QStringLiteral("Ошибка в тексте запроса: запрос может только читать"));
}

void Statement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    // A QByteArray's data is never a null pointer, so even "" binds as text.
    check(sqlite3_bind_text64(handle(), index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void Statement::bindTextOrNull(int index, const QString &value)
{
    if (value.isEmpty())
        check(sqlite3_bind_null(handle(), index));
    else
        bindText(index, value);
}

void Statement::check(int code) const
{
    if (code != SQLITE_OK)
        connection_.fail(code);
}

void Statement::bindInt64(int index, qint64 value)
{
    check(sqlite3_bind_int64(handle(), index, value));
}

bool Statement::step()
{
    const int code = sqlite3_step(handle());
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        connection_.fail(code);
    return false;
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::readAll(Records &records, bool keyColumn)
{
    sqlite3_stmt *stmt = handle();
    const int first = keyColumn ? 1 : 0;
    const int count = sqlite3_column_count(stmt);
    for (int column = first; column < count; ++column) {
        records.names.append(QString::fromUtf8(sqlite3_column_name(stmt, column)));
        records.sizes.push_back(declaredSize(sqlite3_column_decltype(stmt, column)));
    }
    if (keyColumn)
        records.enableKeys();
    std::vector<std::string_view> texts(std::size_t(count - first));
    while (step()) {
        for (int column = first; column < count; ++column) {
            // One column call per value, where the text and bytes pair made
            // two, each taking the connection's lock: a sixth of a full
            // scan. The value is read at once on this thread, as an
            // unprotected value may be.
            sqlite3_value *value = sqlite3_column_value(stmt, column);
            const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
            texts[column - first] = std::string_view(text ? text : "", std::size_t(sqlite3_value_bytes(value)));
        }
        const int row = records.appendRow(texts.data());
        if (keyColumn)
            records.setKey(row, sqlite3_column_int64(stmt, 0));
    }
}

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

int declaredSize(const char *declaredType)
{
    if (!declaredType)
        return 0;
    const QString type = QString::fromUtf8(declaredType);
    const qsizetype open = type.indexOf(u'(');
    const qsizetype close = type.indexOf(u')', open + 1);
    if (open < 0 || close < 0)
        return 0;
    bool ok = false;
    const int size = type.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    return ok && size > 0 ? size : 0;
}

} // namespace data::sqlite
