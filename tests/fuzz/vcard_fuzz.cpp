// Any bytes as a vCard file: the reader never crashes, every card it takes
// has the phone book's four values, and those written as vCard read back
// the same, so an export loses nothing an import took.
#include "dataio/vcard.h"

#include <cstdlib>

using namespace dataio;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<BookEntry> entries = readVCards(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    QList<QStringList> taken;
    for (const BookEntry &entry : entries) {
        if (entry.problem.isEmpty() && entry.values.size() != 4)
            std::abort();
        if (entry.problem.isEmpty())
            taken.append(entry.values);
    }
    const QList<BookEntry> again = readVCards(vCardsOf(taken));
    if (again.size() != taken.size())
        std::abort();
    for (qsizetype i = 0; i < again.size(); ++i) {
        if (again[i].values != taken[i])
            std::abort();
    }
    return 0;
}
