#pragma once

#include "dataio/tablelayout.h"

#include <QList>
#include <QString>
#include <QStringList>

struct px_doc;

namespace dataio {

// Writes a Paradox table (version 7.0, code page 1251, without a primary
// index) whose fields are the given columns as Alpha fields of their sizes
// (255, the largest, for a column of no size), through pxlib. Texts go in as
// code page 1251 bytes cut to their field, never as UTF-8, which pxlib would
// write past a field. Like TableWriter, rows go into a temporary file beside
// the target and finish() puts it in place; failures throw std::runtime_error.
class ParadoxWriter {
public:
    ParadoxWriter(const QString &path, const QList<Column> &columns);
    ~ParadoxWriter();
    ParadoxWriter(const ParadoxWriter &) = delete;
    ParadoxWriter &operator=(const ParadoxWriter &) = delete;

    void add(const QStringList &row); // in the columns' order
    void finish();
    int unrepresentable() const { return unrepresentable_; } // written as "?"

private:
    [[noreturn]] void fail(const QString &what) const;

    QString path_;
    QString partPath_;
    std::vector<int> sizes_;
    QByteArray record_;
    px_doc *doc_ = nullptr;
    int unrepresentable_ = 0;
};

} // namespace dataio
