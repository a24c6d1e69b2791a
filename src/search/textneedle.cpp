#include "search/textneedle.h"

#include "search/searchrules.h"
#include "store/codepage.h"
#include "store/textlines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using ByteMap = std::array<unsigned char, 256>;

// Every lowered character of the code page is in the code page again (the
// capitals of its upper half have their small letters there too).
ByteMap makeLowerMap()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const std::optional<QByteArray> lowered =
        CodePage::encode(SearchRules::lowered(CodePage::decode(all)));
    ByteMap map{};
    for (int b = 0; b < 256; ++b)
        map[b] =
            lowered ? static_cast<unsigned char>(lowered->at(b)) : static_cast<unsigned char>(b);
    return map;
}

const ByteMap &lowerMap()
{
    static const ByteMap map = makeLowerMap();
    return map;
}

// CR LF and a lone CR become one LF, as the text box shows them; returns the new size.
qsizetype toLineFeeds(char *text, qsizetype size)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] == '\r') {
            text[out++] = '\n';
            if (i + 1 < size && text[i + 1] == '\n')
                ++i;
        } else {
            text[out++] = text[i];
        }
    }
    return out;
}

// Eight bytes at a time while they are plain ASCII (most of every text): a
// capital is a byte from 'A' to 'Z', lowered by its 0x20 bit. Other bytes go
// through the table.
void lowerInPlace(char *text, qsizetype size)
{
    constexpr quint64 kHigh = 0x8080808080808080ull;
    constexpr quint64 kEach = 0x0101010101010101ull;
    const ByteMap &map = lowerMap();
    auto *p = reinterpret_cast<unsigned char *>(text);
    qsizetype i = 0;
    while (i < size) {
        quint64 word;
        if (size - i >= 8 && (std::memcpy(&word, p + i, 8), (word & kHigh) == 0)) {
            const quint64 aboveA = word + kEach * (0x80 - 'A');     // high bit: byte >= 'A'
            const quint64 aboveZ = word + kEach * (0x80 - 'Z' - 1); // high bit: byte > 'Z'
            word |= ((aboveA & ~aboveZ) & kHigh) >> 2;
            std::memcpy(p + i, &word, 8);
            i += 8;
            continue;
        }
        const qsizetype end = std::min(i + 8, size);
        for (; i < end; ++i)
            p[i] = map[p[i]];
    }
}

} // namespace

unsigned char lowerCodePageByte(unsigned char byte)
{
    return lowerMap()[byte];
}

TextNeedle::TextNeedle(const QString &searchText, bool caseSensitive)
    : caseSensitive_(caseSensitive)
{
    const std::optional<QByteArray> bytes =
        CodePage::encode(caseSensitive ? searchText : SearchRules::lowered(searchText));
    // A character outside the code page, or a CR, never occurs in a text box's text.
    possible_ = bytes && !bytes->isEmpty() && !bytes->contains('\r');
    if (possible_) {
        needle_ = *bytes;
        lineBreaks_ = needle_.contains('\n');
    }
}

bool TextNeedle::foundIn(char *bytes, qsizetype size) const
{
    if (!possible_)
        return false;
    TextLines::Reader reader(QByteArrayView(bytes, size));
    QByteArrayView date;
    reader.next(date);
    char *text = bytes + (reader.rest().data() - bytes);
    qsizetype length = reader.rest().size();
    if (lineBreaks_)
        length = toLineFeeds(text, length);
    if (!caseSensitive_)
        lowerInPlace(text, length);
    return ::memmem(text, size_t(length), needle_.constData(), size_t(needle_.size())) != nullptr;
}
