// Lists or extracts a directory archive the way the program does, without
// any window: one line per member, then the component's result.
#include "archive/zipextractor.h"
#include "archive/zipmessageids.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QStringView>

#include <cstdio>

namespace {

void print(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}

// Names and messages come from the archive: control characters and the like
// are written as escapes, so that no archive can drive the terminal.
QString printable(const QString &text)
{
    QString out;
    for (const char32_t c : QStringView(text).toUcs4()) {
        if (QChar::isPrint(c))
            out += QString::fromUcs4(&c, 1);
        else
            out += c < 0x100 ? QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'))
                             : QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString dosDateTime(std::uint32_t v)
{
    const QDate date(int((v >> 25) & 0x7F) + 1980, int((v >> 21) & 0x0F), int((v >> 16) & 0x1F));
    const QTime time(int((v >> 11) & 0x1F), int((v >> 5) & 0x3F), int(v & 0x1F) * 2);
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

void listMembers(const TZipExtractor &zip)
{
    for (int i = 0; i < zip.count(); ++i) {
        const ZipDirEntry &e = zip.dirEntry(i);
        print(QStringLiteral("%1 %2 %3 %4%5")
                  .arg(qulonglong(e.UncompressedSize64), 10)
                  .arg(qulonglong(e.CompressedSize64), 10)
                  .arg(dosDateTime(e.DosDateTime))
                  .arg(e.Encrypted ? QStringLiteral("*") : QString())
                  .arg(printable(e.FileName)));
    }
}

int usage()
{
    std::fputs("usage: telzip list ARCHIVE\n       telzip extract ARCHIVE [DIR]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    const bool list = command == QLatin1String("list") && args.size() == 2;
    const bool extract = command == QLatin1String("extract") && (args.size() == 2 || args.size() == 3);
    if (!list && !extract)
        return usage();

    TZipExtractor zip;
    zip.setUnattended(true);
    zip.setZipFileName(args[1]);
    if (list) {
        // Setting the name of a missing file is silent; listing it is an error.
        if (!QFileInfo(args[1]).isFile())
            zip.ReportMessage(reportids::ArchiveNotFound);
        listMembers(zip);
    } else {
        zip.OnProgress = [](TZipExtractor &, ProgressType type, const QString &name, unsigned size) {
            if (type == NewFile)
                print(QStringLiteral("%1 %2").arg(size, 10).arg(printable(name)));
        };
        zip.OnExtractSkipped = [](TZipExtractor &, const QString &name, UnZipSkipTypes, int error) {
            print(QStringLiteral("skipped    %1 (error %2)").arg(printable(name)).arg(error));
        };
        // No one to ask: encrypted members are skipped and reported.
        zip.OnPasswordError = [](TZipExtractor &, bool, QString &, const QString &, unsigned &,
                                 TPasswordButton &action) { action = pwbCancelAll; };
        zip.setFSpecArgs({QStringLiteral("*.*")});
        zip.setExtrOptions(ExtrOverWrite);
        if (args.size() == 3) {
            zip.setExtrBaseDir(args[2]);
            zip.setExtrOptions(zip.extrOptions() | ExtrForceDirs);
        }
        zip.Extract();
    }
    print(QStringLiteral("ErrorCode: %1").arg(zip.errorCode()));
    print(QStringLiteral("SuccessCount: %1").arg(zip.successCount()));
    print(QStringLiteral("LastMessage: %1").arg(printable(zip.lastMessage())));
    return zip.errorCode() == 0 ? 0 : 1;
}
