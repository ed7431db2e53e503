#include "app/workfolder.h"

#include "app/directoryarchive.h"
#include "platform/messagebox.h"

#include <QDir>
#include <QFileInfo>

namespace workfolder {

bool tellIfNotWritable(const QString &folder)
{
    // access(): a read-only file system says no even to the administrator.
    if (QFileInfo(folder).isWritable())
        return true;
    const QDir dir(folder);
    const bool unpacked =
        dir.exists(directoryarchive::DirectoryTable) && dir.exists(directoryarchive::DialingCodesTable);
    const QString tables =
        unpacked ? QStringLiteral("Справочник и коды городов не обновляются из архива «%1»: поиск идёт по таблицам, "
                                  "которые уже есть в этой папке.")
                 : QStringLiteral("Справочник и коды городов не удастся распаковать из архива «%1», поэтому поиск "
                                  "по ним работать не будет.");
    platform::messageBox(
        QStringLiteral("В рабочую папку программы «%1» нельзя записывать.\r").arg(QDir::toNativeSeparators(folder)) +
            tables.arg(directoryarchive::ArchiveName) +
            QStringLiteral("\rЛичную телефонную книжку можно только просматривать: добавить, изменить "
                           "или удалить запись не получится.\rЧтобы работать полностью, запустите "
                           "программу из папки, в которую можно записывать."),
        QStringLiteral("Внимание!"), platform::mbExclamationOk);
    return false;
}

} // namespace workfolder
