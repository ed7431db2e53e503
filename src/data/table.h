#pragma once

#include "dataset.h"

#include <QString>

namespace data {

// One table file (an SQLite database holding a single table) in table order.
// Every post, delete and empty is durable when it returns.
class Table : public DataSet {
public:
    Table() = default;

    QString tableName() const { return tableName_; }
    void setTableName(const QString &fileName);    // relative to the working directory; only while closed
    int fieldDefIndex(const QString &fieldName) const;   // 0-based position in the table's structure, -1 if none
    void emptyTable();                              // removes every record; only while closed; the file stays
    bool canModify() const override { return true; }

protected:
    void doOpen(Snapshot &result) override;
    void doPost(Snapshot &result, int row, bool inserting) override;
    void doDelete(Snapshot &result, int row) override;

private:
    QString tableName_;
};

} // namespace data
