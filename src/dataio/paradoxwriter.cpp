#include "dataio/paradoxwriter.h"

#include "dataio/cp1251.h"

#include "data/field.h"
#include "data/tablefile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <stdexcept>

// pxlib declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

namespace dataio {

namespace {
constexpr int kLargestAlpha = 255;

void ignoreError(pxdoc_t *, int, const char *, void *) {}

char *copyOf(pxdoc_t *doc, const QByteArray &text)
{
    auto *copy = static_cast<char *>(doc->malloc(doc, std::size_t(text.size()) + 1, "field name"));
    std::memcpy(copy, text.constData(), std::size_t(text.size()) + 1);
    return copy;
}
} // namespace

ParadoxWriter::ParadoxWriter(const QString &path, const QList<Column> &columns)
    : path_(path), partPath_(path + QStringLiteral(".part"))
{
    QFile::remove(partPath_);
    doc_ = PX_new2(ignoreError, nullptr, nullptr, nullptr);
    if (!doc_)
        fail(QStringLiteral("pxlib"));
    // pxlib owns the field list and its names once the file is created.
    auto *fields =
        static_cast<pxfield_t *>(doc_->malloc(doc_, sizeof(pxfield_t) * std::size_t(columns.size()), "fields"));
    int width = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const int size = columns[i].size > 0 ? std::min(columns[i].size, kLargestAlpha) : kLargestAlpha;
        fields[i] = {copyOf(doc_, columns[i].name.toLatin1()), pxfAlpha, size, 0};
        sizes_.push_back(size);
        width += size;
    }
    record_.resize(width);
    if (PX_create_file(doc_, fields, int(columns.size()), QFile::encodeName(partPath_).constData(),
                       pxfFileTypNonIndexDB) < 0)
        fail(QStringLiteral("не удаётся создать / cannot create"));
    PX_set_value(doc_, "codepage", 1251);
    PX_set_tablename(doc_, QFileInfo(path).completeBaseName().toLatin1().constData());
}

ParadoxWriter::~ParadoxWriter()
{
    if (doc_) {
        PX_close(doc_);
        PX_delete(doc_);
        QFile::remove(partPath_);
    }
}

void ParadoxWriter::add(const QStringList &row)
{
    record_.fill('\0');
    char *field = record_.data();
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        const QString value = data::cutToSize(row.value(qsizetype(i)), sizes_[i]);
        int written = 0;
        for (qsizetype c = 0; c < value.size() && written < sizes_[i]; ++c) {
            if (value[c].isLowSurrogate())
                continue; // the pair's high half already stood for the character
            char byte = cp1251Of(value[c]);
            if (byte == 0) {
                byte = '?';
                ++unrepresentable_;
            }
            field[written++] = byte;
        }
        field += sizes_[i];
    }
    if (PX_put_record(doc_, record_.data()) < 0)
        fail(QStringLiteral("не удаётся записать / cannot write"));
}

void ParadoxWriter::finish()
{
    PX_close(doc_);
    PX_delete(doc_);
    doc_ = nullptr;
    if (!data::replaceDurably(partPath_, path_)) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partPath_);
        fail(reason);
    }
}

void ParadoxWriter::fail(const QString &what) const
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

} // namespace dataio
