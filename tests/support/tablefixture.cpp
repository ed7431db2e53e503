#include "tablefixture.h"

#include "data/tablefile.h"

#include <QFile>
#include <sqlite3.h>

void WorkDirTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
}

void WorkDirTest::TearDown()
{
    QDir::setCurrent(previous_);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {
sqlite3 *openFile(const QString &fileName, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QDir::current().absoluteFilePath(fileName).toUtf8().constData(), &db, flags, nullptr) !=
        SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(db);
    return db;
}

void exec(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << error << " in " << sql.toStdString();
    sqlite3_free(error);
}
} // namespace

void makeTable(const QString &fileName, const QString &columns, const std::vector<QStringList> &rows)
{
    sqlite3 *db = openFile(fileName, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const QString table = data::tableNameOf(fileName);
    exec(db, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, columns));
    exec(db, QStringLiteral("BEGIN"));
    for (const QStringList &row : rows) {
        sqlite3_stmt *stmt = nullptr;
        const QString marks = QStringList(row.size(), QStringLiteral("?")).join(u',');
        sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, marks).toUtf8().constData(),
                           -1, &stmt, nullptr);
        for (int i = 0; i < row.size(); ++i) {
            if (row[i].isNull())
                sqlite3_bind_null(stmt, i + 1);
            else
                sqlite3_bind_text(stmt, i + 1, row[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
        sqlite3_finalize(stmt);
    }
    exec(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

std::vector<QStringList> readTable(const QString &fileName)
{
    sqlite3 *db = openFile(fileName, SQLITE_OPEN_READONLY);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(
        db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(data::tableNameOf(fileName)).toUtf8().constData(),
        -1, &stmt, nullptr);
    std::vector<QStringList> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            row.append(text ? QString::fromUtf8(text) : QString());
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

void NumbersTest::makeNumbers(int count)
{
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QString::number(i)});
    makeTable(QStringLiteral("nums.db"), QStringLiteral("N VARCHAR(10)"), rows);
    numbers.setSql({QStringLiteral("SELECT N FROM \"nums.db\"")});
}

void NumbersTest::openNumbers(int count)
{
    makeNumbers(count);
    numbers.open();
}
