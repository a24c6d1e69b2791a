// idx.dat: whatever the reader takes, the writer writes back, and that reads
// back as the same table. The writer that keeps the lines of unchanged
// groups gives the very bytes of the one that encodes every group.

#include "fuzzcheck.h"

#include "store/indexfile.h"

namespace {

// A table holds 100,000 strings: kept from one input to the next, as the
// program keeps its one table, and so is the writer's memory of each group.
NoteTable table;
NoteTable again;
IndexFile::Encoder encoder;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    table.clear();
    if (!IndexFile::parse(bytes, table))
        return 0;

    const QString version = QStringLiteral("1.3.02");
    const TextLines::Encoded written = IndexFile::serialize(table, version);
    FUZZ_CHECK(written, "a table read from idx.dat could not be written back");
    again.clear();
    FUZZ_CHECK(IndexFile::parse(written.bytes, again), "idx.dat as written does not read back");
    FUZZ_CHECK(again == table, "idx.dat read back differs from what was written");

    FUZZ_CHECK(encoder.encode(table, version).bytes == written.bytes,
               "the group-keeping writer differs from the full writer");
    // One group changed, as a command changes it: only that group is encoded again.
    const int groups = table.groupCount();
    if (groups > 0) {
        const int g = int(size % unsigned(groups));
        const int entries = table.entryCount(g);
        if (entries > 0)
            table.cell(g, entries) += QLatin1Char('x');
        else
            table.cell(g, 1) = QStringLiteral("new");
        const TextLines::Encoded full = IndexFile::serialize(table, version);
        const TextLines::Encoded kept = encoder.encode(table, version);
        FUZZ_CHECK(bool(full) == bool(kept), "the two writers disagree on a refusal");
        FUZZ_CHECK(!full || full.bytes == kept.bytes,
                   "the group-keeping writer differs after a change");
    }
    return 0;
}
