// Entry files and masks: what the reader shows in a text box is written back
// by the save, reads back as the same date and text (a last line always ends
// in a break once saved), and a second save writes the very same bytes.

#include "fuzzcheck.h"

#include "store/entryfile.h"
#include "store/entrystore.h"

namespace {

QString savedForm(const QString &text)
{
    return text.isEmpty() || text.endsWith(QStringLiteral("\r\n")) ? text
                                                                   : text + QStringLiteral("\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);

    const EntryFile::Entry entry = EntryFile::parseEntry(bytes);
    FUZZ_CHECK(!entry.date.contains(QLatin1Char('\r')) && !entry.date.contains(QLatin1Char('\n')),
               "the date line holds a line break");
    const TextLines::Encoded saved =
        EntryFile::formatEntry(entry.date, EntryStore::toTextBox(entry.text));
    FUZZ_CHECK(saved, "an entry as read could not be saved");
    const EntryFile::Entry back = EntryFile::parseEntry(saved.bytes);
    FUZZ_CHECK(back.date == entry.date, "the date read back differs");
    FUZZ_CHECK(back.text == savedForm(entry.text), "the text read back differs");
    FUZZ_CHECK(EntryFile::formatEntry(back.date, EntryStore::toTextBox(back.text)).bytes ==
                   saved.bytes,
               "a second save writes other bytes");

    const QString mask = EntryFile::parseMask(bytes);
    const TextLines::Encoded maskSaved = EntryFile::formatMask(EntryStore::toTextBox(mask));
    FUZZ_CHECK(maskSaved, "a mask as read could not be saved");
    FUZZ_CHECK(EntryFile::parseMask(maskSaved.bytes) == savedForm(mask),
               "the mask read back differs");
    return 0;
}
