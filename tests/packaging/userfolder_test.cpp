#include "launcher/userfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QDateTime kInstalledTime = QDateTime::fromSecsSinceEpoch(1'700'000'000);
const QStringList kSharedFiles = {QStringLiteral("basa.tel"), QStringLiteral("help.html"), QStringLiteral("basamy.db")};

class UserFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        QDir(root_.path()).mkpath(QStringLiteral("share"));
        for (const QString &name : kSharedFiles)
            write(installed(name), "installed " + name.toUtf8(), kInstalledTime);
    }

    QString installed(const QString &name = {}) const { return root_.filePath(QStringLiteral("share/") + name); }
    QString folder() const { return root_.filePath(QStringLiteral("home/.local/share/spravochnik")); }
    QString user(const QString &name) const { return QDir(folder()).filePath(name); }
    QString prepare() const { return userfolder::prepare(installed(), folder()); }

    static void write(const QString &path, const QByteArray &data, const QDateTime &time)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.flush();
        file.setFileTime(time, QFileDevice::FileModificationTime);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList folderEntries() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir root_;
};

TEST_F(UserFolderTest, NewUserGetsEveryFileAsNewAsTheInstalledOne)
{
    ASSERT_EQ(prepare(), QString());
    EXPECT_EQ(folderEntries(), (QStringList{"basa.tel", "basamy.db", "help.html"}));
    for (const QString &name : kSharedFiles) {
        EXPECT_EQ(read(user(name)), read(installed(name))) << name.toStdString();
        EXPECT_EQ(QFileInfo(user(name)).lastModified(), kInstalledTime) << name.toStdString();
    }
}

TEST_F(UserFolderTest, OnlyOlderArchiveAndHelpAreReplacedAndThePhoneBookNever)
{
    struct Row {
        const char *file;
        int ageSeconds; // of the user's copy against the installed file
        bool replaced;
    };
    const Row rows[] = {
        {"basa.tel", 60, true},  {"basa.tel", 0, false},   {"basa.tel", -60, false},  {"help.html", 60, true},
        {"help.html", 0, false}, {"basamy.db", 60, false}, {"basamy.db", -60, false},
    };
    for (const Row &row : rows) {
        const QString name = QString::fromLatin1(row.file);
        SCOPED_TRACE(std::string(row.file) + " aged " + std::to_string(row.ageSeconds));
        ASSERT_TRUE(QDir().mkpath(folder()));
        write(user(name), "the user's copy", kInstalledTime.addSecs(-row.ageSeconds));
        ASSERT_EQ(prepare(), QString());
        EXPECT_EQ(read(user(name)), row.replaced ? read(installed(name)) : QByteArray("the user's copy"));
        EXPECT_EQ(folderEntries().size(), kSharedFiles.size());
        ASSERT_TRUE(QDir(folder()).removeRecursively());
    }
}

TEST_F(UserFolderTest, FolderThatCannotBeMadeIsNamedInTheMessage)
{
    write(root_.filePath(QStringLiteral("home")), "a file where the home folder should be", kInstalledTime);
    const QString message = prepare();
    EXPECT_TRUE(message.contains(folder())) << message.toStdString();
}

TEST_F(UserFolderTest, InstallationInsideTheUserFolderIsRefused)
{
    const QString message = userfolder::prepare(installed(), installed());
    EXPECT_TRUE(message.contains(installed())) << message.toStdString();
}

TEST_F(UserFolderTest, MissingInstalledFileAsksForReinstall)
{
    ASSERT_TRUE(QFile::remove(installed(QStringLiteral("help.html"))));
    const QString message = prepare();
    EXPECT_TRUE(message.contains(installed(QStringLiteral("help.html")))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(user(QStringLiteral("help.html"))));
}

// A full disk, imitated by a file size limit: each failed copy leaves the
// user's earlier file as it was and no partial file beside it.
TEST_F(UserFolderTest, FailedCopyLeavesNothingHalfWritten)
{
    const QByteArray large(256 * 1024, 'x');
    write(installed(QStringLiteral("basa.tel")), large, kInstalledTime);
    write(installed(QStringLiteral("basamy.db")), large, kInstalledTime);
    ASSERT_TRUE(QDir().mkpath(folder()));
    write(user(QStringLiteral("basa.tel")), "older archive", kInstalledTime.addDays(-1));

    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 64 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    const QString archiveMessage = prepare();
    write(user(QStringLiteral("basa.tel")), "older archive", kInstalledTime); // now up to date: on to the others
    const QString phoneBookMessage = prepare();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(archiveMessage.contains(user(QStringLiteral("basa.tel")))) << archiveMessage.toStdString();
    EXPECT_TRUE(phoneBookMessage.contains(user(QStringLiteral("basamy.db")))) << phoneBookMessage.toStdString();
    EXPECT_EQ(read(user(QStringLiteral("basa.tel"))), QByteArray("older archive"));
    EXPECT_EQ(folderEntries(), (QStringList{"basa.tel", "help.html"}));
}

TEST(UserFolderLocation, FollowsTheDataHomeOrTheHomeFolder)
{
    struct Row {
        const char *dataHome;
        const char *home;
        const char *expected;
    };
    const Row rows[] = {
        {"/data", "/home/u", "/data/spravochnik"},
        {"", "/home/u", "/home/u/.local/share/spravochnik"},
        {"relative/data", "/home/u", "/home/u/.local/share/spravochnik"},
        {"", "", ""},
    };
    for (const Row &row : rows)
        EXPECT_EQ(userfolder::location(QString::fromUtf8(row.dataHome), QString::fromUtf8(row.home)),
                  QString::fromUtf8(row.expected))
            << row.dataHome << " | " << row.home;
}

} // namespace
