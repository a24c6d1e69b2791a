// The code page: every byte read comes back unchanged when written; text is
// written only when every character has a byte, and then reads back as it was.

#include "fuzzcheck.h"

#include "store/codepage.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString decoded = CodePage::decode(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size(), "not one character per byte");
    FUZZ_CHECK(CodePage::encode(decoded) == std::optional<QByteArray>(bytes),
               "bytes read do not come back unchanged");
    FUZZ_CHECK(CodePage::firstUnencodable(decoded) == -1, "a character read cannot be written");

    // Any text, as typed or pasted.
    const QString text = fuzzUtf16(data, size);
    const qsizetype bad = CodePage::firstUnencodable(text);
    for (qsizetype i = 0; i < (bad < 0 ? text.size() : bad); ++i)
        FUZZ_CHECK(CodePage::canEncode(text[i]), "a character before the first refusal is refused");
    FUZZ_CHECK(bad < 0 || !CodePage::canEncode(text[bad]), "the refused character can be encoded");
    std::vector<char> buffer(size_t(text.size()) + 1);
    FUZZ_CHECK(CodePage::encodeTo(text, buffer.data()) == bad, "encodeTo refuses elsewhere");
    const std::optional<QByteArray> encoded = CodePage::encode(text);
    FUZZ_CHECK(encoded.has_value() == (bad < 0), "encode refuses elsewhere");
    if (encoded)
        FUZZ_CHECK(CodePage::decode(*encoded) == text, "encoded text reads back differently");
    return 0;
}
