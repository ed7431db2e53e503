#pragma once

#include <QString>

namespace data::sqlite {

class Connection;

// Makes the Paradox table in fileName readable to the connection's SQL as
// schema."name" (the name of the file without its extension), exactly like
// one of our table files attached read-only: the same texts, null for an
// empty field, rows in table order. The table is read once, here.
void attachParadoxTable(Connection &connection, const QString &fileName, const QString &schema);

} // namespace data::sqlite
