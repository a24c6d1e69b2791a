#include "store/dostext.h"

#include <array>

namespace {

struct Substitute
{
    char16_t shown;
    char16_t stored;
};

constexpr Substitute kTable[] = {{u'"', 0xCB}, {u'*', 0xCC}, {u'+', 0xCD}, {u',', 0xCE},
                                 {u'/', 0xCF}, {u':', 0xD0}, {u';', 0xDD}, {u'<', 0xEB},
                                 {u'=', 0xEC}, {u'>', 0xED}, {u'?', 0xEE}, {u'\\', 0xEF},
                                 {u'|', 0xF0}};

// Blanks only: a tab at either end belongs to the name.
QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    if (begin == 0 && end == s.size())
        return s;
    return s.mid(begin, end - begin);
}

// Every character of the first 256 to its substitute, or 0 where it stays.
using Map = std::array<char16_t, 256>;

template <typename From, typename To> constexpr Map makeMap(From from, To to)
{
    Map map{};
    for (const Substitute &sub : kTable)
        map[from(sub)] = to(sub);
    return map;
}

constexpr Map kToStored = makeMap([](const Substitute &s) { return s.shown; },
                                  [](const Substitute &s) { return s.stored; });
constexpr Map kToShown = makeMap([](const Substitute &s) { return s.stored; },
                                 [](const Substitute &s) { return s.shown; });

// The lists show a thousand names at a time: a name without anything to
// substitute is passed on as it is, without a copy.
QString convert(const QString &s, const Map &map)
{
    const QChar *in = s.constData();
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && (in[i].unicode() > 0xFF || map[in[i].unicode()] == 0))
        ++i;
    if (i == n)
        return trimBlanks(s);
    QString out = s;
    QChar *data = out.data();
    for (; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c <= 0xFF && map[c] != 0)
            data[i] = QChar(map[c]);
    }
    return trimBlanks(out);
}

} // namespace

QString OutDOS(const QString &shown)
{
    return convert(shown, kToStored);
}

QString InDOS(const QString &stored)
{
    return convert(stored, kToShown);
}

bool showsAs(QStringView stored, QStringView shown)
{
    // Substitutes are never blanks, so trimming first gives what InDOS gives.
    while (!stored.isEmpty() && stored.front() == u' ')
        stored = stored.sliced(1);
    while (!stored.isEmpty() && stored.back() == u' ')
        stored.chop(1);
    if (stored.size() != shown.size())
        return false;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const char16_t c = stored[i].unicode();
        const char16_t in = c <= 0xFF && kToShown[c] != 0 ? kToShown[c] : c;
        if (in != shown[i].unicode())
            return false;
    }
    return true;
}
