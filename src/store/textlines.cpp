#include "store/textlines.h"

#include "store/codepage.h"

#include <bit>
#include <cstring>

using namespace Qt::StringLiterals;

namespace TextLines {

namespace {

// The first CR or LF in [p, end), or end, of bytes or of UTF-16 text. Eight
// bytes are taken at a time: a word with no character below 14 cannot hold a
// break, and in one that does, the lowest flagged character is the first such
// character.
template <typename Char> const Char *findBreak(const Char *p, const Char *end)
{
    constexpr int kBits = 8 * sizeof(Char);
    constexpr quint64 kOnes = sizeof(Char) == 1 ? 0x0101010101010101ull : 0x0001000100010001ull;
    constexpr quint64 kHighBits = kOnes << (kBits - 1);
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8 / qsizetype(sizeof(Char))) {
            quint64 word;
            std::memcpy(&word, p, 8);
            const quint64 below14 = (word - kOnes * 14) & ~word & kHighBits;
            if (!below14) {
                p += 8 / sizeof(Char);
                continue;
            }
            p += std::countr_zero(below14) / kBits;
            if (*p == Char('\r') || *p == Char('\n'))
                return p;
            ++p; // a tab or another control character: part of the line
        }
    }
    for (; p != end; ++p) {
        if (*p == Char('\r') || *p == Char('\n'))
            return p;
    }
    return end;
}

bool crLfAt(const char16_t *p, const char16_t *end)
{
    return *p == u'\r' && p + 1 != end && p[1] == u'\n';
}

} // namespace

bool Reader::next(QByteArrayView &line)
{
    if (pos_ == size_)
        return false;
    const char *end = data_ + size_;
    const char *brk = findBreak(data_ + pos_, end);
    const qsizetype p = brk - data_;
    line = QByteArrayView(data_ + pos_, p - pos_);
    if (p == size_)
        pos_ = p;
    else if (data_[p] == '\r' && p + 1 != size_ && data_[p + 1] == '\n')
        pos_ = p + 2;
    else
        pos_ = p + 1;
    return true;
}

QList<QByteArrayView> split(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    Reader reader(bytes);
    QByteArrayView line;
    while (reader.next(line))
        lines.append(line);
    return lines;
}

QList<QStringView> textLineViews(QStringView text)
{
    QList<QStringView> lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype p = 0;
    while (p != n) {
        const QChar c = text.at(p);
        if (c != u'\r' && c != u'\n') {
            ++p;
            continue;
        }
        lines.append(text.mid(start, p - start));
        p += (c == u'\r' && p + 1 != n && text.at(p + 1) == u'\n') ? 2 : 1;
        start = p;
    }
    if (start != n)
        lines.append(text.mid(start));
    return lines;
}

QStringList splitText(const QString &text)
{
    QStringList lines;
    for (const QStringView line : textLineViews(text))
        lines.append(line.toString());
    return lines;
}

QString toCrLf(const QString &text)
{
    const auto *begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *end = begin + text.size();
    // Each lone CR or LF grows by one character. Most texts already use CR LF
    // throughout and are returned as they are.
    qsizetype lone = 0;
    for (const char16_t *p = findBreak(begin, end); p != end; p = findBreak(p, end)) {
        if (crLfAt(p, end)) {
            p += 2;
        } else {
            ++lone;
            ++p;
        }
    }
    if (lone == 0)
        return text;
    // Copied a line at a time: a text from elsewhere (LF alone) takes this way.
    QString out(text.size() + lone, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char16_t *line = begin;
    for (const char16_t *p = findBreak(begin, end); p != end; p = findBreak(p, end)) {
        std::memcpy(dst, line, size_t(p - line) * sizeof(char16_t));
        dst += p - line;
        *dst++ = u'\r';
        *dst++ = u'\n';
        p += crLfAt(p, end) ? 2 : 1;
        line = p;
    }
    std::memcpy(dst, line, size_t(end - line) * sizeof(char16_t));
    return out;
}

QString BoxTextDecoder::decode(QByteArrayView part)
{
    const char *p = part.data();
    const char *const end = p + part.size();
    if (afterCr_ && p != end && *p == '\n')
        ++p;
    afterCr_ = false;
    // Never longer than the bytes: a break is one byte or two.
    QString out(end - p, Qt::Uninitialized);
    QChar *dst = out.data();
    while (p != end) {
        const char *brk = findBreak(p, end);
        dst += CodePage::decodeTo(QByteArrayView(p, brk - p), dst);
        if (brk == end)
            break;
        *dst++ = u'\n';
        p = brk + 1;
        if (*brk == '\r') {
            if (p == end)
                afterCr_ = true;
            else if (*p == '\n')
                ++p;
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

Writer::Writer(qsizetype expectedBytes, QByteArray reuse) : buffer_(std::move(reuse))
{
    buffer_.resize(qMax<qsizetype>(expectedBytes, 256));
}

char *Writer::room(qsizetype bytes)
{
    if (used_ + bytes > buffer_.size())
        buffer_.resize(qMax(buffer_.size() * 2, used_ + bytes));
    return buffer_.data() + used_;
}

bool Writer::line(QStringView text, QByteArrayView prefix)
{
    if (error_)
        return false;
    ++lines_;
    char *dst = room(prefix.size() + text.size() + 2);
    if (!prefix.isEmpty()) {
        std::memcpy(dst, prefix.data(), size_t(prefix.size()));
        dst += prefix.size();
        used_ += prefix.size();
    }
    const qsizetype bad = CodePage::encodeTo(text, dst);
    if (bad >= 0) {
        error_ = IoError::custom(
            u"Line %1 holds a character that cannot be stored in the file's code page (U+%2)"_s.arg(
                QString::number(lines_),
                QString::number(text.at(bad).unicode(), 16).toUpper().rightJustified(4, u'0')));
        return false;
    }
    if (findBreak(dst, dst + text.size()) != dst + text.size()) {
        error_ = IoError::custom(u"Line %1 holds a line break of its own"_s.arg(lines_));
        return false;
    }
    dst[text.size()] = '\r';
    dst[text.size() + 1] = '\n';
    used_ += text.size() + 2;
    return true;
}

bool Writer::lines(QStringView text)
{
    if (error_)
        return false;
    // A text whose every break is CR LF is encoded whole, the bulk of every
    // save; the code page keeps CR and LF as they are.
    char *dst = room(text.size() + 2);
    if (CodePage::encodeTo(text, dst) < 0) {
        const char *end = dst + text.size();
        int breaks = 0;
        const char *p = findBreak(dst, end);
        for (; p != end && *p == '\r' && p + 1 != end && p[1] == '\n'; p = findBreak(p, end)) {
            ++breaks;
            p += 2;
        }
        if (p == end) {
            used_ += text.size();
            lines_ += breaks;
            if (!text.isEmpty() && !text.endsWith(u"\r\n")) {
                dst[text.size()] = '\r';
                dst[text.size() + 1] = '\n';
                used_ += 2;
                ++lines_;
            }
            return true;
        }
    }
    // Line by line, which names the line at fault and ends lone breaks.
    for (const QStringView single : textLineViews(text)) {
        if (!line(single))
            return false;
    }
    return true;
}

void Writer::asciiLine(QByteArrayView text)
{
    if (error_)
        return;
    ++lines_;
    char *dst = room(text.size() + 2);
    // An empty view may have no data at all, and memcpy must not be given null.
    if (!text.isEmpty())
        std::memcpy(dst, text.data(), size_t(text.size()));
    dst[text.size()] = '\r';
    dst[text.size() + 1] = '\n';
    used_ += text.size() + 2;
}

Encoded Writer::finish()
{
    if (error_)
        return Encoded{QByteArray(), error_};
    buffer_.truncate(used_);
    return Encoded{std::move(buffer_), std::nullopt};
}

} // namespace TextLines
