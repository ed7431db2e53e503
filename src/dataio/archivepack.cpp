#include "dataio/archivepack.h"

#include "dataio/language.h"

#include "zipwriter/zipwriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>

namespace dataio {

void packArchive(const QString &archivePath, const QStringList &files)
{
    zipwriter::Writer writer;
    for (const QString &file : files) {
        zipwriter::Entry entry;
        entry.name = QFileInfo(file).fileName().toStdString();
        if (!QFileInfo(file).isFile() || !zipwriter::readFile(QFile::encodeName(file).toStdString(), entry.data))
            throw std::runtime_error(
                say("%1: не удаётся прочитать файл", "%1: cannot read the file").arg(file).toStdString());
        writer.add(entry);
    }
    const std::string bytes = writer.finish();
    QSaveFile archive(archivePath);
    if (!archive.open(QIODevice::WriteOnly) ||
        archive.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !archive.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(archivePath, archive.errorString()).toStdString());
}

} // namespace dataio
