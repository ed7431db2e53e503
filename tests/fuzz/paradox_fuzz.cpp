// Any bytes as a Paradox table, and as its memo file: the reader either
// lists records or refuses the table with its message, and never reads
// outside what it was given.
#include "data/dataset.h"
#include "data/paradoxtable.h"
#include "data/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    try {
        data::Records records;
        data::ParadoxTable(bytes, QStringLiteral("fuzz.db"), bytes).readInto(records);
        for (int r = 0; r < records.rowCount(); ++r) {
            for (int c = 0; c < records.columnCount(); ++c) {
                volatile std::size_t n = records.text(r, c).size();
                (void)n;
            }
        }
    } catch (const data::EDatabaseError &) {
    }
    return 0;
}
