#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <string_view>

namespace dataio {

// One text column of a table file as the program's windows declare it.
struct Column {
    QString name;  // the field name, e.g. "Tel"
    QString title; // the display label the windows show, e.g. "Телефон"
    int size;      // characters
    bool searched; // the windows search it with upper-case text
};

// The columns of one kind of table file, in table order, and the columns the
// searches need indexed.
struct TableLayout {
    QList<Column> columns;
    QStringList indexes;

    int indexOf(const QString &nameOrTitle) const; // either, ignoring case; -1 if none
    QString columnsSql() const;                    // "Tel VARCHAR(5), ..."
    QStringList names() const;
};

const TableLayout &directoryLayout();    // data.db
const TableLayout &dialingCodesLayout(); // kod.db
const TableLayout &phoneBookLayout();    // basamy.db

// Length in characters (code points), as field sizes count.
qsizetype characterCount(QStringView text);
qsizetype characterCount(std::string_view utf8);

} // namespace dataio
