#include "dataiotest.h"

#include <QFile>

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
