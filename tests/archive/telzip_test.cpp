// The command-line tool: one line per member, then the component's result;
// exit status 0 only without an error.
#include "archivetest.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

class Telzip : public ArchiveTest {
protected:
    int run(const QStringList &args, QString &output)
    {
        QProcess p;
        p.start(QStringLiteral(TELZIP_PATH), args);
        p.waitForFinished(60000);
        output = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

} // namespace

TEST_F(Telzip, ListsAndExtracts)
{
    zipwriter::Entry locked = member("secret.db", "s");
    locked.password = "pw";
    zipwriter::Entry unicode = member("Код.db", "k");
    unicode.extraFlags = 0x0800;
    build({member("data.db", "0123456789"), unicode});
    QString output;

    EXPECT_EQ(run({"list", archive}, output), 0);
    EXPECT_TRUE(output.contains(QRegularExpression("\\s10 .* data.db\\n")));
    EXPECT_TRUE(output.contains("Код.db\n"));
    EXPECT_TRUE(output.endsWith("ErrorCode: 0\nSuccessCount: 0\nLastMessage: \n"));

    EXPECT_EQ(run({"extract", archive, out + "/new"}, output), 0);
    EXPECT_EQ(readAll(out + "/new/data.db"), "0123456789");
    EXPECT_TRUE(output.contains("SuccessCount: 2\n"));

    build({member("data.db", "x"), locked});
    EXPECT_EQ(run({"extract", archive, out}, output), 1);
    EXPECT_TRUE(output.contains("skipped    secret.db"));
    EXPECT_TRUE(output.contains("ErrorCode: 5\nSuccessCount: 1\n"));

    writeAll(archive, "not an archive");
    EXPECT_EQ(run({"list", archive}, output), 1);
    EXPECT_TRUE(output.contains("ErrorCode: 11036\n"));
    EXPECT_EQ(run({"frobnicate"}, output), 2);
}

TEST_F(Telzip, FailuresExitNonZeroAndNamesCannotDriveTheTerminal)
{
    QString output;
    for (const char *command : {"list", "extract"}) {
        EXPECT_EQ(run({command, tmp.path() + "/missing.tel"}, output), 1) << command;
        EXPECT_TRUE(output.contains("ErrorCode: 11001\n")) << output.toStdString();
    }

    zipwriter::Entry title = member("\x1b]0;pwned\x07title.db", "t");
    zipwriter::Entry reversed = member("\xE2\x80\xAEgpj.exe", "r"); // U+202E turns the name around
    reversed.extraFlags = 0x0800;
    build({title, reversed, member("\x1b[2J.db", "c")});
    for (const QStringList &args : {QStringList{"list", archive}, QStringList{"extract", archive, out}}) {
        SCOPED_TRACE(args[0].toStdString());
        run(args, output);
        EXPECT_FALSE(output.contains(QChar(0x1b)));
        EXPECT_FALSE(output.contains(QChar(0x202e)));
        EXPECT_TRUE(output.contains("\\x1b]0;pwned\\x07title.db"));
        EXPECT_TRUE(output.contains("\\u{202e}gpj.exe"));
    }
}
