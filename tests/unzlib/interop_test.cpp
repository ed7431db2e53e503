// Archives made by other writers extract byte-identically, and archives made
// by our writer pass another reader's test.
#include "support/unzlibdriver.h"
#include "zipwriter/zipwriter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

// Runs a program in a folder, feeding it input; its exit code.
int runIn(const std::string &dir, const QString &program, const QStringList &args, const std::string &input = {})
{
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(dir));
    p.start(program, args);
    if (!p.waitForStarted())
        return -1;
    p.write(QByteArray::fromStdString(input));
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

std::string sample(int lines)
{
    std::string s;
    for (int i = 0; i < lines; ++i)
        s += "subscriber " + std::to_string(i * 31337 % 99991) + ", Veryoskin\n";
    return s;
}

class Interop : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(fsPath(src));
        fs::create_directory(fsPath(out));
        writeAll(src + "/data.db", sample(20000));
        writeAll(src + "/kod.db", sample(30));
    }
    void requireTool(const QString &tool)
    {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed";
    }
    void expectSameFiles(const std::vector<std::string> &names)
    {
        for (const std::string &n : names)
            EXPECT_EQ(readAll(out + "/" + n), readAll(src + "/" + n)) << n;
    }
    QString file(const std::string &path) const { return QString::fromStdString(path); }

    ScratchDir tmp;
    std::string src = tmp.path() + "/src";
    std::string out = tmp.path() + "/out";
    std::string archive = tmp.path() + "/a.zip";
    UnzLibDriver lib;
};

} // namespace

TEST_F(Interop, InfoZipStoredDeflatedStreamedAndEncrypted)
{
    requireTool("zip");
    ASSERT_EQ(runIn(src, "zip", {"-q", "-0", file(archive), "data.db", "kod.db"}), 0);
    EXPECT_EQ(lib.run(archive, out), 2);
    expectSameFiles({"data.db", "kod.db"});

    fs::remove(fsPath(archive));
    ASSERT_EQ(runIn(src, "zip", {"-q", "-9", file(archive), "data.db", "kod.db"}), 0);
    EXPECT_EQ(lib.run(archive, out), 2);
    expectSameFiles({"data.db", "kod.db"});

    // From standard input: sizes and CRC follow the data in a descriptor.
    fs::remove(fsPath(archive));
    ASSERT_EQ(runIn(src, "zip", {"-q", file(archive), "-"}, readAll(src + "/data.db")), 0);
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(out + "/-"), readAll(src + "/data.db"));

    fs::remove(fsPath(archive));
    ASSERT_EQ(runIn(src, "zip", {"-q", "-P", "Veresk", file(archive), "data.db", "kod.db"}), 0);
    lib.password = "Veresk";
    EXPECT_EQ(lib.run(archive, out), 2);
    expectSameFiles({"data.db", "kod.db"});
    lib.password = "wrong";
    EXPECT_EQ(lib.run(archive, tmp.path()), 0);
    EXPECT_EQ(lib.callsOf(UNZ_CB_PASSWORD).size(), 2u);
}

TEST_F(Interop, PythonUtf8Names)
{
    requireTool("python3");
    const char *script = "import zipfile,sys\n"
                         "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                         "    z.writestr('Телефоны.txt', 'Верескин\\n' * 100)\n";
    ASSERT_EQ(runIn(tmp.path(), "python3", {"-c", script, file(archive)}), 0);
    EXPECT_EQ(lib.run(archive, out), 1);
    std::string expected;
    for (int i = 0; i < 100; ++i)
        expected += "Верескин\n";
    EXPECT_EQ(readAll(out + "/Телефоны.txt"), expected);
}

TEST_F(Interop, DosNamesInCodePage866BecomeUnicodeFileNames)
{
    zipwriter::Writer w;
    zipwriter::Entry e;
    e.name = "\x84\x80\x8D\x8D\x9B\x85/\x8A\xAE\xA4.db"; // ДАННЫЕ/Код.db in code page 866
    e.data = "codes";
    e.hostSystem = 0;
    w.add(e);
    writeAll(archive, w.finish());
    lib.folders = true;
    EXPECT_EQ(lib.run(archive, out), 1);
    EXPECT_EQ(readAll(out + "/ДАННЫЕ/Код.db"), "codes");
}

TEST_F(Interop, OurArchivesPassInfoZipTest)
{
    requireTool("unzip");
    zipwriter::Writer w;
    zipwriter::Entry e;
    e.name = "data.db";
    e.data = sample(5000);
    w.add(e);
    e.name = "stored.db";
    e.method = zipwriter::Method::Stored;
    e.dataDescriptor = true;
    w.add(e);
    e.name = "locked.db";
    e.password = "Veresk";
    w.add(e);
    e.name = "locked-deflated.db";
    e.method = zipwriter::Method::Deflated;
    e.dataDescriptor = false;
    w.add(e);
    writeAll(archive, w.finish("directory of Veryoskin"));
    EXPECT_EQ(runIn(tmp.path(), "unzip", {"-tq", "-P", "Veresk", file(archive)}), 0);
}
