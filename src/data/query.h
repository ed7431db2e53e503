#pragma once

#include "data/dataset.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace data {

// A read-only SQL query. A table is named by its file name in double quotes
// (FROM "data.db" Country) and resolved against the working directory at
// every open, so the result always reflects the file as it is on disk then.
// LIKE is case-sensitive (Cyrillic included) so that prefix patterns use the
// tables' indexes.
class Query : public DataSet {
public:
    Query() = default;

    QStringList &sql() { return sql_; } // the declared lines, joined by a newline
    void setSql(const QStringList &lines);

    bool prepared() const { return prepared_; }
    void prepare(); // checks the SQL; the flag survives close and open
    // Name without the colon, matched ignoring case. Every parameter of the
    // SQL text needs a value before the query opens.
    void setParamByName(const QString &name, const QString &value);
    // How the engine would run the query with the current values, one line
    // per step (for checking that a search uses an index).
    QStringList queryPlan() const;

protected:
    void doOpen(Snapshot &result) override;

private:
    QStringList sql_;
    QMap<QString, QString> params_; // by lower-case name
    bool prepared_ = false;
};

} // namespace data
