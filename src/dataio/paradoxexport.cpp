#include "dataio/paradoxexport.h"

#include "dataio/archivepack.h"
#include "dataio/language.h"
#include "dataio/paradoxwriter.h"

#include "data/dataset.h"
#include "data/records.h"
#include "data/sqlitedb.h"
#include "data/tablefile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

namespace dataio {

ExportResult exportParadoxCopy(const QString &tablePath, const QString &outputPath)
{
    using namespace data::sqlite;
    data::Records records;
    try {
        Connection connection = Connection::openForQuery();
        connection.attachReadOnly(tablePath, QStringLiteral("source"));
        Statement(connection,
                  QStringLiteral("SELECT * FROM source.%1 ORDER BY rowid").arg(quoted(data::tableNameOf(tablePath))))
            .readAll(records, false);
    } catch (const data::EDatabaseError &error) {
        throw std::runtime_error(QStringLiteral("%1: %2").arg(tablePath, error.message()).toStdString());
    }
    QList<Column> columns;
    for (int i = 0; i < records.columnCount(); ++i)
        columns.append({records.names[i], QString(), records.sizes[std::size_t(i)], false});
    ParadoxWriter writer(outputPath, columns);
    QStringList row(records.columnCount());
    for (int r = 0; r < records.rowCount(); ++r) {
        for (int c = 0; c < records.columnCount(); ++c)
            row[c] = records.string(r, c);
        writer.add(row);
    }
    writer.finish();
    return {records.rowCount(), writer.unrepresentable()};
}

void packParadoxArchive(const QString &archivePath, const QStringList &files)
{
    QTemporaryDir converted;
    if (!converted.isValid())
        throw std::runtime_error(converted.errorString().toStdString());
    QStringList tables;
    for (const QString &file : files) {
        tables.append(converted.filePath(QFileInfo(file).fileName()));
        exportParadoxCopy(file, tables.back());
    }
    packArchive(archivePath, tables);
}

} // namespace dataio
