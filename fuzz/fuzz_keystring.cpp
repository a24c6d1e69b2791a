// Key strings: any string either parses or is refused, never crashes; a
// parsed one is bounded by its repeat counts. A text put in braces where it
// needs them (escapeKeyString) types exactly that text, or is refused when
// a character of it has no key.

#include "fuzzcheck.h"

#include "platform/keystring.h"

#include <QStringList>

namespace {

// What a text typed through escapeKeyString must give: Enter for a line
// break, the character for everything else.
QString typedForm(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte picks the reading: UTF-8 as a phrase is stored, or raw UTF-16.
    if (size == 0)
        return 0;
    const QString keys = data[0] & 1 ? fuzzUtf16(data + 1, size - 1)
                                     : QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                                         qsizetype(size - 1));

    const KeyString parsed = parseKeyString(keys);
    FUZZ_CHECK(parsed.isValid() || parsed.strokes.isEmpty(), "a refused string gave keys");
    FUZZ_CHECK(parsed.strokes.size() <= keys.size() * qsizetype(MaxRepeat),
               "more keys than the counts allow");
    for (const KeyStroke &stroke : parsed.strokes)
        FUZZ_CHECK(stroke.key != Qt::Key_unknown, "a key without a key code");

    const KeyString typed = parseKeyString(escapeKeyString(keys));
    if (typed.isValid()) {
        QString text;
        for (const KeyStroke &stroke : typed.strokes)
            text += stroke.text;
        FUZZ_CHECK(text == typedForm(keys), "an escaped text types something else");
    } else {
        FUZZ_CHECK(!typed.error.contains(QStringLiteral("modifier")) &&
                       !typed.error.contains(QStringLiteral("'('")) &&
                       !typed.error.contains(QStringLiteral("'{'")) &&
                       !typed.error.contains(QStringLiteral("'}'")),
                   "an escaped text was read as key syntax");
    }
    return 0;
}
