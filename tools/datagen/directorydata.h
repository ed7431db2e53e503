#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace datagen {

// The town's directory, generated deterministically: households and
// organisations with departments on the town's streets, upper case (the
// search fields type upper case and LIKE is case-sensitive). Numbers are
// five digits, unique for the first 100,000 records and repeating beyond.
// Rows are Tel, Abon, Otdel, Adres; an empty text stands for null.
constexpr int kDefaultDirectorySize = 6000;
void generateDirectory(int records, const std::function<void(const QStringList &)> &sink);

// Writes data.db (Tel 5, Abon 150, Otdel 150, Adres 60, indexed on the
// three searched columns).
void writeDirectory(const QString &path, int records);

// Writes an empty phone book, basamy.db (FIO 30, ADR 40, TEL 15, MAIL 50).
void writePhoneBook(const QString &path);

} // namespace datagen
