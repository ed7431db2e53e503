#include "userfolder.h"

#include "systemerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace userfolder {

namespace {

enum class Existing { ReplaceIfOlder, Keep };

struct SharedFile {
    const char *name;
    Existing existing;
};

constexpr SharedFile kSharedFiles[] = {
    {"basa.tel", Existing::ReplaceIfOlder},
    {"help.html", Existing::ReplaceIfOlder},
    {"basamy.db", Existing::Keep},
};

const QString kCheckHome = QStringLiteral("\nПроверьте, что домашняя папка доступна для записи и на диске есть место.");

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось записать файл «%1»: %2.").arg(path, reason) + kCheckHome;
}

bool needsCopy(const QFileInfo &source, const QFileInfo &target, Existing existing)
{
    // A dangling link still stands for something of the user's: leave it.
    if (!target.exists() && !target.isSymLink())
        return true;
    return existing == Existing::ReplaceIfOlder && target.lastModified() < source.lastModified();
}

// Writes the whole source into `out` and gives it the source's modification
// time, so the next start finds the copy as new as the installed file.
QString copyContents(QFile &in, QFileDevice &out, const QString &target)
{
    if (!out.open(QIODevice::WriteOnly))
        return cannotWrite(target, systemerror::text(errno));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return QStringLiteral("Не удалось прочитать файл «%1»: %2.").arg(in.fileName(), systemerror::text(errno));
        if (out.write(chunk) != chunk.size())
            return cannotWrite(target, systemerror::text(errno));
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return cannotWrite(target, systemerror::text(errno));
    out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    return {};
}

QString copyAtomically(const QString &source, const QString &target, Existing existing)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Не удалось прочитать установленный файл «%1»: %2. Переустановите программу.")
            .arg(source, systemerror::text(errno));
    if (existing == Existing::ReplaceIfOlder) {
        QSaveFile out(target);
        QString error = copyContents(in, out, target);
        if (error.isEmpty() && !out.commit())
            error = cannotWrite(target, systemerror::text(errno));
        return error;
    }
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (QString error = copyContents(in, out, target); !error.isEmpty())
        return error;
    // Renaming never replaces: a phone book that appeared meanwhile wins.
    if (out.rename(target)) {
        out.setAutoRemove(false);
        return {};
    }
    return QFileInfo::exists(target) ? QString() : cannotWrite(target, systemerror::text(errno));
}

} // namespace

QString location(const QString &dataHome, const QString &home)
{
    if (QDir::isAbsolutePath(dataHome))
        return QDir(dataHome).filePath(QStringLiteral("spravochnik"));
    if (QDir::isAbsolutePath(home))
        return QDir(home).filePath(QStringLiteral(".local/share/spravochnik"));
    return {};
}

QString prepare(const QString &installed, const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error)
        return QStringLiteral("Не удалось создать папку «%1»: %2.")
                   .arg(folder, QString::fromLocal8Bit(error.message().c_str())) +
               kCheckHome;
    const QDir from(installed);
    const QDir to(folder);
    // An installation under the prefix ~/.local puts the installed files in
    // the user's own folder, where a re-install would replace the phone book.
    if (from.canonicalPath() == to.canonicalPath())
        return QStringLiteral("Программа установлена в папку пользователя «%1». Установите её с другим префиксом, "
                              "например /usr/local.")
            .arg(folder);
    for (const SharedFile &file : kSharedFiles) {
        const QString name = QString::fromLatin1(file.name);
        const QFileInfo source(from.filePath(name));
        const QFileInfo target(to.filePath(name));
        if (!needsCopy(source, target, file.existing))
            continue;
        if (QString message = copyAtomically(source.filePath(), target.filePath(), file.existing); !message.isEmpty())
            return message;
    }
    return {};
}

} // namespace userfolder
