// The line splitter: the word-at-a-time reader against a plain byte loop,
// the same rules on decoded text, CR LF normalisation, and the line writer:
// lines written read back as the same lines.

#include "fuzzcheck.h"

#include "store/codepage.h"
#include "store/textlines.h"

namespace {

// CR LF, LF and a lone CR end a line; a break at the very end starts no line.
QList<QByteArray> plainSplit(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    QByteArray line;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            i += (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        line += c;
        ++i;
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QList<QByteArray> expected = plainSplit(bytes);

    QList<QByteArray> split;
    for (const QByteArrayView line : TextLines::split(bytes))
        split.append(line.toByteArray());
    FUZZ_CHECK(split == expected, "the reader splits lines differently");

    // rest() is what follows the lines read so far.
    TextLines::Reader reader(bytes);
    QByteArrayView line;
    if (reader.next(line)) {
        const QByteArrayView rest = reader.rest();
        FUZZ_CHECK(rest.data() + rest.size() == bytes.constData() + bytes.size(),
                   "rest does not reach the end");
        FUZZ_CHECK(plainSplit(rest.toByteArray()) == expected.mid(1), "rest holds other lines");
    }

    const QString text = CodePage::decode(bytes);
    QStringList decoded;
    for (const QByteArray &l : expected)
        decoded.append(CodePage::decode(l));
    FUZZ_CHECK(TextLines::splitText(text) == decoded, "decoded text splits differently");

    const QString crlf = TextLines::toCrLf(text);
    FUZZ_CHECK(TextLines::toCrLf(crlf) == crlf, "CR LF normalisation is not stable");
    FUZZ_CHECK(TextLines::splitText(crlf) == decoded, "CR LF normalisation changed the lines");
    FUZZ_CHECK(!crlf.contains(QStringLiteral("\r\r")) || text.contains(QStringLiteral("\r\r")),
               "a line end was doubled");

    TextLines::Writer out;
    for (const QString &l : decoded)
        FUZZ_CHECK(out.line(l), "a line as read could not be written");
    const TextLines::Encoded written = out.finish();
    FUZZ_CHECK(written, "the lines could not be written");
    FUZZ_CHECK(plainSplit(written.bytes) == expected, "written lines read back differently");
    // A line holding a break of its own is refused, never written as two.
    if (!expected.isEmpty()) {
        TextLines::Writer refused;
        FUZZ_CHECK(!refused.line(decoded.first() + QLatin1Char('\n')),
                   "a line with a break was written");
    }
    return 0;
}
