#include "dataiotest.h"

#include <QFile>
#include <QProcess>

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

std::vector<QStringList> rowsOf(const QString &fileName)
{
    std::vector<QStringList> rows = readTable(fileName);
    for (QStringList &row : rows) {
        for (QString &value : row) {
            if (value.isNull())
                value = QStringLiteral("<null>");
        }
    }
    return rows;
}

int DataToolTest::run(const QStringList &args, const QString &locale)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(DATA_TOOL), args);
    tool.waitForFinished(120000);
    out = QString::fromUtf8(tool.readAllStandardOutput());
    err = QString::fromUtf8(tool.readAllStandardError());
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

QByteArray writeTownFiles(const QByteArray &town)
{
    writeFile("town.csv", town);
    QByteArray codes = utf8("Obl\tNp\tKod\n");
    for (const char *region : {"БРЕСТСКАЯ", "ВИТЕБСКАЯ", "ГОМЕЛЬСКАЯ", "ГРОДНЕНСКАЯ", "МИНСКАЯ", "МОГИЛЕВСКАЯ"})
        codes += utf8(region) + "\tГОРОД\t01\n";
    writeFile("codes.tsv", codes);
    return codes;
}
