#include "platform/heldfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// This process's handles on files of the folder, named as the system names
// them: a replaced file ends in " (deleted)".
QStringList handlesInto(const QString &folder)
{
    QStringList targets;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files)) {
        const QString target = fd.symLinkTarget();
        if (target.startsWith(folder + u'/'))
            targets.append(target.mid(folder.size() + 1));
    }
    targets.sort();
    return targets;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(HeldFiles, HoldReplacedFilesUntilTheyGoThenLetGoOnTheirOwn)
{
    if (!QFileInfo::exists(QStringLiteral("/proc/self/fd")))
        GTEST_SKIP() << "no /proc here to see the handles";
    QTemporaryDir dir;
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    write(folder + "/data.db", "old");
    write(folder + "/kod.db", "old");
    write(folder + "/new", "new");
    {
        const platform::HeldFiles held({folder + "/data.db", folder + "/kod.db", folder + "/missing.db"});
        EXPECT_EQ(handlesInto(folder), QStringList({"data.db", "kod.db"}));
        ASSERT_EQ(::rename(QFile::encodeName(folder + "/new"), QFile::encodeName(folder + "/data.db")), 0);
        EXPECT_EQ(handlesInto(folder), QStringList({"data.db (deleted)", "kod.db"}));
    }
    for (int i = 0; i < 500 && !handlesInto(folder).isEmpty(); ++i)
        QThread::msleep(10);
    EXPECT_EQ(handlesInto(folder), QStringList());
    QFile kept(folder + "/data.db");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "new");
}
