#pragma once

#include "data/dataset.h"
#include "data/paradoxmove.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace data {

namespace sqlite {
class Connection;
}

// One table file (an SQLite database holding a single table named after the
// file, see tablefile.h) in table order: the order records were added in.
// Every post, delete and empty is durable when it returns. A Paradox table is
// moved into a table file of ours the first time it is opened (see
// paradoxmove.h), so that it can be written.
class Table : public DataSet {
public:
    Table();
    ~Table() override;

    QString tableName() const { return tableName_; }
    void setTableName(const QString &fileName);        // relative to the working directory; only while closed
    int fieldDefIndex(const QString &fieldName) const; // 0-based position in the table's structure, -1 if none
    void emptyTable();                                 // removes every record; only while closed; the file stays
    bool canModify() const override { return true; }
    // What the last open did to a Paradox table it found; nothing otherwise.
    const std::optional<ParadoxMove> &paradoxMove() const { return paradoxMove_; }

protected:
    void doOpen(Snapshot &result) override;
    void doClose() override;
    int doPost(Snapshot &result, int row, bool inserting, const QStringList &values) override;
    void doDelete(Snapshot &result, int row) override;

private:
    QString quotedTable() const;
    QString quotedColumns(const Snapshot &result, const QString &suffix) const;

    QString tableName_;
    std::optional<ParadoxMove> paradoxMove_;
    QStringList structure_; // column names of the table, as last opened
    std::unique_ptr<sqlite::Connection> connection_;
};

} // namespace data
