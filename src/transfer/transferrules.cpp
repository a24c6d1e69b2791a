#include "transfer/transferrules.h"

#include "editing/editrules.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/storepaths.h"
#include "store/textlines.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>
#include <tuple>

using namespace Qt::StringLiterals;

namespace TransferRules {
namespace {

// Stand-ins the Unicode decompositions do not give.
const QHash<char32_t, QString> &standIns()
{
    static const QHash<char32_t, QString> table{
        {U'\u0110', u"D"_s},      {U'\u0111', u"d"_s},  {U'\u0126', u"H"_s},
        {U'\u0127', u"h"_s},      {U'\u0131', u"i"_s},  {U'\u0141', u"L"_s},
        {U'\u0142', u"l"_s},      {U'\u0166', u"T"_s},  {U'\u0167', u"t"_s},
        {U'\u014A', u"N"_s},      {U'\u014B', u"n"_s},  {U'\u1E9E', u"SS"_s},
        {U'\u2010', u"-"_s},      {U'\u2011', u"-"_s},  {U'\u2012', u"-"_s},
        {U'\u2015', u"\u2014"_s}, {U'\u2212', u"-"_s},  {U'\u201B', u"'"_s},
        {U'\u201F', u"\""_s},     {U'\u2032', u"'"_s},  {U'\u2033', u"\""_s},
        {U'\u2190', u"<-"_s},     {U'\u2192', u"->"_s}, {U'\u2194', u"<->"_s},
        {U'\u21D0', u"<="_s},     {U'\u21D2', u"=>"_s}, {U'\u2264', u"<="_s},
        {U'\u2265', u">="_s},     {U'\u2260', u"!="_s}, {U'\u2248', u"~"_s},
        {U'\u2217', u"*"_s},      {U'\u2215', u"/"_s},  {U'\u25CF', u"\u2022"_s},
        {U'\u25E6', u"o"_s},      {U'\u2043', u"-"_s},  {U'\u2028', u"\r\n"_s},
        {U'\u2029', u"\r\n"_s},
    };
    return table;
}

bool encodable(char32_t c)
{
    return c < 0x10000 && CodePage::canEncode(QChar(char16_t(c)));
}

// The code points of `text`; a lone surrogate stands for itself.
template <typename F> void forEachCodePoint(const QString &text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1)), text.mid(i, 2));
            ++i;
        } else {
            f(char32_t(c.unicode()), QString(c));
        }
    }
}

QString standIn(char32_t c)
{
    if (const auto it = standIns().constFind(c); it != standIns().cend())
        return *it;
    const QChar::Category category = QChar::category(c);
    // Invisible: joiners, marks left without a letter, a stray byte order mark.
    if (category == QChar::Other_Format || category == QChar::Mark_NonSpacing ||
        category == QChar::Mark_Enclosing || category == QChar::Mark_SpacingCombining)
        return QString();
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString kept;
    forEachCodePoint(decomposed, [&kept](char32_t d, const QString &s) {
        const QChar::Category cat = QChar::category(d);
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_Enclosing ||
            cat == QChar::Mark_SpacingCombining)
            return;
        if (encodable(d))
            kept += s;
        else if (const auto it = standIns().constFind(d); it != standIns().cend())
            kept += *it;
        else
            kept += u'\uFFFD';
    });
    if (kept.isEmpty() || kept.contains(u'\uFFFD'))
        return u"?"_s;
    return kept;
}

QString withoutControls(const QString &name)
{
    QString out = name;
    for (QChar &c : out) {
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    }
    return out;
}

// Cut `shown` until its stored form, with `reserve` suffixes and `extension`,
// fits one file name.
QString fitted(QString shown, int reserve, const QString &extension)
{
    // The stand-ins of OutDOS keep the count of characters.
    if (StorePaths::surelyFitsFileName(shown.size() + reserve + extension.size()))
        return shown;
    while (!shown.isEmpty() &&
           !StorePaths::fitsFileName(OutDOS(shown) + QString(reserve, u'_') + extension))
        shown.chop(1);
    return shown;
}

QString validName(const QString &name, int reserve, const QString &extension)
{
    QString shown = closeEquivalent(withoutControls(name));
    shown.remove(u'\r');
    shown.remove(u'\n');
    shown = fitted(shown, reserve, extension);
    const QString stored = OutDOS(shown);
    if (stored.isEmpty() || stored == u"."_s || stored == u".."_s)
        return u"Untitled"_s;
    return InDOS(stored);
}

bool isReservedDeviceName(const QString &name)
{
    const QStringView stem = QStringView(name).left(name.indexOf(u'.')).trimmed();
    if (stem.size() != 3 && stem.size() != 4)
        return false;
    const QString base = stem.toString().toUpper();
    static const QSet<QString> fixed{u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
    if (fixed.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(u"COM"_s) || base.startsWith(u"LPT"_s)) &&
           base.at(3) >= u'1' && base.at(3) <= u'9';
}

} // namespace

Decoded decodeText(QByteArrayView bytes)
{
    Decoded out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.encoding = Encoding::Utf8Bom;
        out.text = QString::fromUtf8(bytes.sliced(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        out.encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
        QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        out.text = decoder(bytes.sliced(2));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        out.text = utf8(bytes);
        if (utf8.hasError()) {
            out.encoding = Encoding::Windows1252;
            out.text = CodePage::decode(bytes.toByteArray());
            return out;
        }
    }
    // A text the code page can hold is composed already: none of its
    // characters combines with another. Most texts take this way.
    if (CodePage::firstUnencodable(out.text) >= 0)
        out.text = out.text.normalized(QString::NormalizationForm_C);
    return out;
}

namespace {

constexpr quint64 kOnes = 0x0101010101010101ull;
constexpr quint64 kHighs = kOnes * 0x80;

// The high bit of each byte of `w` that is zero, exact up to the lowest one.
constexpr quint64 zeros(quint64 w)
{
    return (w - kOnes) & ~w & kHighs;
}

// How many bytes from `p` on are plain ASCII, neither a break nor a NUL:
// sixteen or eight are looked at a time. Copies at least those to `dst`,
// which has room for what is left of the input.
qsizetype copyPlain(const unsigned char *p, const unsigned char *end, char *dst)
{
    const unsigned char *const start = p;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), nul = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + (p - start)), v);
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)),
            _mm_or_si128(_mm_cmpeq_epi8(v, nul), v)); // v: the high bit of a byte >= 0x80
        if (const int mask = _mm_movemask_epi8(special))
            return p - start + std::countr_zero(unsigned(mask));
        p += 16;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            std::memcpy(dst + (p - start), p, 8);
            const quint64 special =
                (w & kHighs) | zeros(w) | zeros(w ^ (kOnes * '\n')) | zeros(w ^ (kOnes * '\r'));
            if (special)
                return p - start + std::countr_zero(special) / 8;
            p += 8;
        }
    }
    for (; p != end; ++p) {
        const unsigned char c = *p;
        if (c >= 0x80 || c == 0 || c == '\n' || c == '\r')
            break;
        dst[p - start] = char(c);
    }
    return p - start;
}

} // namespace

std::optional<QByteArray> storedFromUtf8(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (bytes.isEmpty())
        return QByteArray();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    // A break may grow by one byte, and the end may gain two: room for one
    // break in sixteen bytes, and more only for a text that needs it.
    QByteArray out(bytes.size() + bytes.size() / 16 + 2, Qt::Uninitialized);
    char *dst = out.data();
    while (p != end) {
        // Up to the first byte that is not plain ASCII. (The output has room:
        // it never has less than what is left of the input, and two bytes.)
        const qsizetype plain = copyPlain(p, end, dst);
        p += plain;
        dst += plain;
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c == 0)
            return std::nullopt;
        if (c == '\r' || c == '\n') {
            p += c == '\r' && end - p >= 2 && p[1] == '\n' ? 2 : 1;
            // Room kept for the rest and two bytes more, for a last break.
            const qsizetype used = dst - out.constData();
            if (out.size() - used < (end - p) + 4) {
                out.resize(used + 2 * (end - p) + 4);
                dst = out.data() + used;
            }
            *dst++ = '\r';
            *dst++ = '\n';
            continue;
        }
        // Two or three bytes, never overlong nor a surrogate; four bytes
        // are beyond the code page, and anything else is not UTF-8.
        char16_t u = 0;
        if (c >= 0xC2 && c <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            u = char16_t(((c & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
                   (p[2] & 0xC0) == 0x80 && (c != 0xE0 || p[1] >= 0xA0) &&
                   (c != 0xED || p[1] < 0xA0)) {
            u = char16_t(((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            p += 3;
        } else {
            return std::nullopt;
        }
        // Latin-1 above 0x9F is the code page's own byte, the bulk of them.
        const int b = u >= 0xA0 && u <= 0xFF ? int(u) : CodePage::byteFor(u);
        if (b < 0)
            return std::nullopt;
        *dst++ = char(b);
    }
    if (dst != out.data() && !(dst - out.data() >= 2 && dst[-2] == '\r' && dst[-1] == '\n')) {
        *dst++ = '\r';
        *dst++ = '\n';
    }
    out.truncate(dst - out.data());
    return out;
}

QStringList unencodableCharacters(const QString &text)
{
    QStringList found;
    if (CodePage::firstUnencodable(text) < 0)
        return found;
    forEachCodePoint(text, [&found](char32_t c, const QString &s) {
        if (!encodable(c) && !found.contains(s))
            found.append(s);
    });
    return found;
}

QString closeEquivalent(const QString &text)
{
    if (CodePage::firstUnencodable(text) < 0)
        return text;
    QString out;
    out.reserve(text.size());
    forEachCodePoint(
        text, [&out](char32_t c, const QString &s) { out += encodable(c) ? s : standIn(c); });
    return out;
}

QString titleFromName(const QString &baseName, int reserve)
{
    QString title = validName(baseName, reserve, u".txt"_s);
    // The placeholder of an entry that has no title yet is no title to take.
    if (title == EditRules::newEntryTitle())
        title += u'_';
    return title;
}

QString groupNameFromPath(const QString &path, int reserve)
{
    return validName(path, reserve, QString());
}

QString safeFileName(const QString &shownName, const QString &extension)
{
    // A surrogate is never one of these, so the characters are taken one by one.
    QString name = shownName;
    for (QChar &c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    while (!name.isEmpty() && (name.endsWith(u'.') || name.endsWith(u' ')))
        name.chop(1);
    while (name.startsWith(u' '))
        name.remove(0, 1);
    // Hidden on Unix, and left out by an import.
    if (name.startsWith(u'.'))
        name[0] = u'_';
    if (name.isEmpty() || isReservedDeviceName(name))
        name.prepend(u'_');
    while (name.toUtf8().size() > 200) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    if (name.isEmpty())
        name = u"_"_s;
    return name + extension;
}

QString uniqueFileName(const QString &name, const QString &extension, QStringList &taken)
{
    const QString base = name.endsWith(extension) ? name.chopped(extension.size()) : name;
    QString candidate = base + extension;
    for (int n = 2; taken.contains(candidate, Qt::CaseInsensitive); ++n)
        candidate = u"%1 (%2)%3"_s.arg(base).arg(n).arg(extension);
    taken.append(candidate);
    return candidate;
}

QString dateLine(const QDateTime &time, const QLocale &locale)
{
    return EditRules::dateLine(time, locale);
}

// One of the two forms a date line may be in: a locale's short date and its
// time with seconds. A form made of numbers, short month names, an AM/PM mark
// and fixed text is also kept as fields, read directly.
struct DateLineReader::Form
{
    enum class Kind { Text, Day, Month, MonthName, Year, Hour, Minute, Second, AmPm };
    struct Field
    {
        Kind kind = Kind::Text;
        int minDigits = 0;
        int maxDigits = 0;
        QString text;
        bool clock24 = false; // "H": up to 23 whatever the AM/PM mark
    };
    using Fields = std::vector<Field>;

    explicit Form(const QLocale &l)
        : locale(l), dateFormat(l.dateFormat(QLocale::ShortFormat)),
          timeFormat(EditRules::timeWithSecondsFormat(l)), date(fields(dateFormat)),
          time(fields(timeFormat)), am(l.amText()), pm(l.pmText())
    {
        for (int m = 1; m <= 12; ++m)
            months.append(l.monthName(m, QLocale::ShortFormat));
        const auto has = [this](auto test) { return std::any_of(time.begin(), time.end(), test); };
        twelveHours = has([](const Field &f) { return f.kind == Kind::AmPm; });
        // An AM/PM mark beside a 24-hour count is left to QLocale.
        directTime =
            !time.empty() && !(twelveHours && has([](const Field &f) { return f.clock24; }));
    }

    // The fields of `format`; none where a part of it is not one of those
    // read directly, or where a number of varying length is not followed by
    // text that ends it.
    static Fields fields(const QString &format)
    {
        Fields out;
        const auto addText = [&out](const QString &text) {
            if (!out.empty() && out.back().kind == Kind::Text)
                out.back().text += text;
            else
                out.push_back({Kind::Text, 0, 0, text});
        };
        for (qsizetype i = 0; i < format.size();) {
            const QChar c = format.at(i);
            if (c == u'\'') {
                QString quoted;
                qsizetype j = i + 1;
                for (; j < format.size(); ++j) {
                    if (format.at(j) != u'\'')
                        quoted += format.at(j);
                    else if (j + 1 < format.size() && format.at(j + 1) == u'\'')
                        quoted += format.at(++j);
                    else
                        break;
                }
                if (j >= format.size())
                    return {};
                addText(j == i + 1 ? u"'"_s : quoted);
                i = j + 1;
                continue;
            }
            if (!c.isLetter()) {
                addText(QString(c));
                ++i;
                continue;
            }
            qsizetype n = 1;
            while (i + n < format.size() && format.at(i + n) == c)
                ++n;
            Field field;
            const char16_t letter = c.unicode();
            if ((letter == u'A' || letter == u'a') && n == 1) {
                field.kind = Kind::AmPm;
                if (i + 1 < format.size() && (format.at(i + 1) == u'P' || format.at(i + 1) == u'p'))
                    ++n;
            } else if (letter == u'M' && n == 3) {
                field.kind = Kind::MonthName;
            } else if (letter == u'y' && (n == 2 || n == 4)) {
                field = {Kind::Year, int(n), int(n), {}};
            } else if (n <= 2 && QStringView(u"dMHhms").contains(c)) {
                const Kind kinds[] = {Kind::Day,  Kind::Month,  Kind::Hour,
                                      Kind::Hour, Kind::Minute, Kind::Second};
                field = {kinds[QStringView(u"dMHhms").indexOf(c)], int(n), 2, {}, letter == u'H'};
            } else {
                return {};
            }
            out.push_back(field);
            i += n;
        }
        for (size_t k = 0; k < out.size(); ++k) {
            const Field &f = out[k];
            const bool varies =
                f.kind == Kind::MonthName || f.kind == Kind::AmPm || f.minDigits != f.maxDigits;
            if (!varies)
                continue;
            if (k + 1 < out.size() &&
                (out[k + 1].kind != Kind::Text || out[k + 1].text.front().isDigit()))
                return {};
        }
        return out;
    }

    struct Read
    {
        int day = 0, month = 0, year = 0, hour = -1, minute = 0, second = 0;
        int amPm = -1; // 0 am, 1 pm
    };

    bool readFields(QStringView text, const Fields &fs, Read &r) const
    {
        qsizetype at = 0;
        for (const Field &f : fs) {
            const QStringView rest = text.sliced(at);
            switch (f.kind) {
            case Kind::Text:
                if (!rest.startsWith(f.text))
                    return false;
                at += f.text.size();
                break;
            case Kind::MonthName: {
                qsizetype best = 0;
                for (int m = 0; m < months.size(); ++m) {
                    if (months[m].size() > best && rest.startsWith(months[m])) {
                        best = months[m].size();
                        r.month = m + 1;
                    }
                }
                if (best == 0)
                    return false;
                at += best;
                break;
            }
            case Kind::AmPm: {
                const bool isAm = !am.isEmpty() && rest.startsWith(am, Qt::CaseInsensitive);
                const bool isPm = !pm.isEmpty() && rest.startsWith(pm, Qt::CaseInsensitive);
                if (isAm == isPm)
                    return false;
                r.amPm = isPm ? 1 : 0;
                at += isPm ? pm.size() : am.size();
                break;
            }
            default: {
                int value = 0;
                int digits = 0;
                while (digits < f.maxDigits && digits < rest.size() && rest[digits] >= u'0' &&
                       rest[digits] <= u'9')
                    value = value * 10 + (rest[digits++].unicode() - u'0');
                if (digits < f.minDigits)
                    return false;
                at += digits;
                switch (f.kind) {
                case Kind::Day:
                    r.day = value;
                    break;
                case Kind::Month:
                    r.month = value;
                    break;
                case Kind::Year:
                    // QLocale reads a two-digit year as 19xx.
                    r.year = f.maxDigits == 2 ? 1900 + value : value;
                    break;
                case Kind::Hour:
                    r.hour = value;
                    break;
                case Kind::Minute:
                    r.minute = value;
                    break;
                default:
                    r.second = value;
                    break;
                }
            }
            }
        }
        return at == text.size();
    }

    // The date part in this form: read directly where the form allows, else
    // as QLocale reads it.
    QDate readDate(const QString &part) const
    {
        Read r;
        if (!date.empty() && readFields(part, date, r)) {
            if (const QDate d(r.year, r.month, r.day); d.isValid())
                return d;
        }
        return locale.toDate(part, dateFormat);
    }

    QTime readTime(const QString &part) const
    {
        Read r;
        if (directTime && readFields(part, time, r)) {
            int hour = r.hour;
            if (twelveHours)
                hour = hour >= 1 && hour <= 12 ? hour % 12 + (r.amPm == 1 ? 12 : 0) : -1;
            if (const QTime t(hour, r.minute, r.second); t.isValid())
                return t;
        }
        return locale.toTime(part, timeFormat);
    }

    QLocale locale;
    QString dateFormat;
    QString timeFormat;
    Fields date;
    Fields time;
    QString am;
    QString pm;
    QStringList months;
    bool twelveHours = false;
    bool directTime = false;
};

DateLineReader::DateLineReader(const QLocale &locale) : currentYear_(QDate::currentDate().year())
{
    forms_.push_back(std::make_unique<Form>(locale));
    // A line the C locale could not read is not read a second time.
    if (locale != QLocale::c())
        forms_.push_back(std::make_unique<Form>(QLocale::c()));
}

DateLineReader::~DateLineReader() = default;

std::optional<QDateTime> DateLineReader::read(const QString &line) const
{
    const qsizetype dash = line.indexOf(u" - "_s);
    if (dash < 0)
        return std::nullopt;
    const QString datePart = line.left(dash).trimmed();
    const QString timePart = line.mid(dash + 3).trimmed();
    // The date and the time may be in different forms: a line is written with
    // the locale's date and the C locale's time where only the time cannot be
    // stored in the code page (Japanese), and the other way round.
    QDate date;
    QTime time;
    const Form *dateForm = nullptr;
    for (const auto &form : forms_) {
        if (!date.isValid()) {
            date = form->readDate(datePart);
            dateForm = form.get();
        }
        if (!time.isValid())
            time = form->readTime(timePart);
    }
    if (date.isValid() && time.isValid()) {
        // A two-digit year is read as 19xx; take the century that puts it
        // nearest to now, no more than twenty years ahead.
        if (!dateForm->dateFormat.contains(u"yyyy"_s)) {
            int year = date.year();
            while (year + 100 <= currentYear_ + 20)
                year += 100;
            date = QDate(year, date.month(), date.day());
        }
        const QDateTime moment(date, time);
        if (moment.isValid())
            return moment;
    }
    return std::nullopt;
}

std::optional<QDateTime> parseDateLine(const QString &line, const QLocale &locale)
{
    return DateLineReader(locale).read(line);
}

QByteArray toExportedBytes(const QString &stored)
{
    // Each CR of a CR LF taken out of the UTF-8 in place, a line at a time.
    QByteArray out = stored.toUtf8();
    char *const begin = out.data();
    char *const end = begin + out.size();
    char *dst = begin;
    const char *line = begin;
    for (const char *cr = static_cast<const char *>(std::memchr(line, '\r', size_t(end - line)));
         cr; cr = static_cast<const char *>(std::memchr(cr + 1, '\r', size_t(end - cr - 1)))) {
        if (cr + 1 == end || cr[1] != '\n')
            continue;
        std::memmove(dst, line, size_t(cr - line));
        dst += cr - line;
        line = cr + 1;
    }
    std::memmove(dst, line, size_t(end - line));
    out.truncate(dst + (end - line) - begin);
    return out;
}

QString toStoredText(const QString &plain)
{
    return TextLines::toCrLf(plain);
}

} // namespace TransferRules
