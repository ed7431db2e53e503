#include "systemerror.h"

#include <cerrno>

namespace systemerror {

QString text(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM: return QStringLiteral("нет прав доступа");
    case ENOENT: return QStringLiteral("нет такого файла или папки");
    case ENOTDIR: return QStringLiteral("часть пути не является папкой");
    case EISDIR: return QStringLiteral("это папка, а не файл");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("на диске нет места");
    case EEXIST: return QStringLiteral("файл уже существует");
    case ENOEXEC: return QStringLiteral("файл не является программой");
    case EIO: return QStringLiteral("ошибка чтения или записи на диске");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
    case ELOOP: return QStringLiteral("символические ссылки ведут по кругу");
    case EMFILE:
    case ENFILE: return QStringLiteral("открыто слишком много файлов");
    case ENOMEM: return QStringLiteral("не хватает памяти");
    default: return QStringLiteral("системная ошибка %1").arg(errorNumber);
    }
}

} // namespace systemerror
