#include "windowstest.h"

#include "form.h"
#include "tablefile.h"

#include <QTest>
#include <QTimer>
#include <sqlite3.h>

void WindowsTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    platform::setMessageAnswerer([this](const platform::ShownMessage &message) {
        shown.push_back(message);
        if (!answers_.empty()) {
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return message.style == platform::mbQuestionYesNo ? int(platform::idYes) : int(platform::idOk);
    });
}

void WindowsTest::TearDown()
{
    platform::setMessageAnswerer({});
    QDir::setCurrent(previous_);
}

void whileShown(platform::Form &form, const std::function<void()> &script)
{
    QTimer::singleShot(0, &form, [&form, &script] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        script();
        form.close();
    });
    form.ShowModal();
}

void typeText(QWidget *control, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

namespace {
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
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(fileName.toUtf8().constData(), &db), SQLITE_OK);
    const QString table = data::tableNameOf(fileName);
    exec(db, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, columns));
    exec(db, QStringLiteral("BEGIN"));
    for (const QStringList &row : rows) {
        sqlite3_stmt *stmt = nullptr;
        const QString marks = QStringList(row.size(), QStringLiteral("?")).join(u',');
        sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, marks).toUtf8().constData(), -1,
                           &stmt, nullptr);
        for (int i = 0; i < row.size(); ++i)
            sqlite3_bind_text(stmt, i + 1, row[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
        sqlite3_finalize(stmt);
    }
    exec(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

std::vector<QStringList> readTable(const QString &fileName)
{
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(fileName.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(data::tableNameOf(fileName)).toUtf8().constData(),
                       -1, &stmt, nullptr);
    std::vector<QStringList> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}
