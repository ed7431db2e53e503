#include "appfixture.h"

#include "app/form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

void AppFixture::SetUp()
{
    ASSERT_TRUE(dir_.isValid()) << dir_.errorString().toStdString() << " cwd " << QDir::currentPath().toStdString();
    previousDir_ = QDir::currentPath();
    if (withArchive) {
        ASSERT_TRUE(QFile::copy(archive, path(QStringLiteral("basa.tel"))));
    }
    platform::setMessageAnswerer([this](const platform::ShownMessage &m) {
        shown.push_back(m);
        return answer(m);
    });
}

void AppFixture::TearDown()
{
    program_.reset();
    platform::setMessageAnswerer({});
    QDir::setCurrent(previousDir_);
}

void AppFixture::start()
{
    QDir::setCurrent(dir_.path());
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path(QStringLiteral("basamy.db"))).constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE IF NOT EXISTS basamy (FIO VARCHAR(30), ADR VARCHAR(40), TEL VARCHAR(15), "
                 "MAIL VARCHAR(50))",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    program_ = std::make_unique<Program>();
    main().show();
    settle();
}

TForm1 &AppFixture::main()
{
    return program_->mainForm();
}

QString AppFixture::path(const QString &name) const
{
    return dir_.filePath(name);
}

bool AppFixture::exists(const QString &name) const
{
    return QFile::exists(path(name));
}

void AppFixture::settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

int AppFixture::countMatching(const QString &tel, const QString &abon, const QString &adres) const
{
    sqlite3 *db = nullptr;
    const QString table = countedTable.isEmpty() ? path(QStringLiteral("data.db")) : countedTable;
    sqlite3_open_v2(QFile::encodeName(table).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, "PRAGMA case_sensitive_like=ON", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM data WHERE Tel LIKE ?1 AND Abon LIKE ?2 AND Adres LIKE ?3", -1, &stmt,
                       nullptr);
    const QByteArray patterns[] = {(tel + '%').toUtf8(), (abon + '%').toUtf8(), (adres + '%').toUtf8()};
    for (int i = 0; i < 3; ++i)
        sqlite3_bind_text(stmt, i + 1, patterns[i].constData(), -1, SQLITE_TRANSIENT);
    int count = -1;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return count;
}
