#include "store/codepage.h"

#include <array>
#include <cstring>

namespace {

// Unicode for bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

namespace CodePage {

int byteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u)
            return 0x80 + i;
    }
    return -1;
}

QString decode(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    decodeTo(bytes, out.data());
    return out;
}

qsizetype decodeTo(QByteArrayView bytes, QChar *dst)
{
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return bytes.size();
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    if (encodeTo(text, out.data()) >= 0)
        return std::nullopt;
    return out;
}

qsizetype encodeTo(QStringView text, char *dst)
{
    const QChar *src = text.data();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i != n) {
        // Runs of ASCII, the bulk of every file, go four characters at a time.
        quint64 four;
        if (n - i >= 4 && (std::memcpy(&four, src + i, 8), (four & 0xFF80FF80FF80FF80ull) == 0)) {
            for (int k = 0; k < 4; ++k)
                dst[i + k] = static_cast<char>(src[i + k].unicode());
            i += 4;
            continue;
        }
        const int b = byteFor(src[i].unicode());
        if (b < 0)
            return i;
        dst[i++] = static_cast<char>(b);
    }
    return -1;
}

bool canEncode(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

qsizetype firstUnencodable(const QString &text)
{
    const QChar *src = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i != n) {
        // ASCII four characters at a time, as in encodeTo.
        quint64 four;
        if (n - i >= 4 && (std::memcpy(&four, src + i, 8), (four & 0xFF80FF80FF80FF80ull) == 0)) {
            i += 4;
            continue;
        }
        if (byteFor(src[i].unicode()) < 0)
            return i;
        ++i;
    }
    return -1;
}

} // namespace CodePage
