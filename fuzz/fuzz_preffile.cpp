// pref.dat: whatever the reader takes, the writer writes back, and that reads
// back the same, but for the two values the file format changes on every
// read (FrameTop 100 less, or 840 below 500; SortDescending 0).

#include "fuzzcheck.h"

#include "store/preferences.h"
#include "store/preffile.h"
#include "store/textlines.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kFrameTopLine = 17;
constexpr int kSortLine = 10;

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (const QByteArrayView line : TextLines::split(bytes))
        lines.append(line.toByteArray());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Preferences prefs;
    if (!PrefFile::parse(fuzzBytes(data, size), prefs))
        return 0;
    const QString version = QStringLiteral("1.3.02");
    const TextLines::Encoded written = PrefFile::serialize(prefs, version);
    FUZZ_CHECK(written, "preferences read from pref.dat could not be written back");
    FUZZ_CHECK(linesOf(written.bytes).size() == PrefFile::kLines, "pref.dat not written whole");

    Preferences again;
    FUZZ_CHECK(PrefFile::parse(written.bytes, again), "pref.dat as written does not read back");
    const QList<QByteArray> first = linesOf(written.bytes);
    const QList<QByteArray> second = linesOf(PrefFile::serialize(again, version).bytes);
    FUZZ_CHECK(second.size() == first.size(), "pref.dat read back has other lines");
    for (int i = 0; i < first.size(); ++i) {
        if (i + 1 == kFrameTopLine) {
            const int saved = first[i].trimmed().toInt();
            const int expected = saved - 100 < 500 ? 840 : saved - 100;
            FUZZ_CHECK(second[i].trimmed().toInt() == expected, "FrameTop read back wrongly");
        } else if (i + 1 == kSortLine) {
            FUZZ_CHECK(second[i] == " 0", "the sort order was saved");
        } else {
            FUZZ_CHECK(second[i] == first[i], "a line of pref.dat read back differs");
        }
    }
    return 0;
}
