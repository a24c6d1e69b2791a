#include "store/dostext.h"

namespace {

struct Substitute
{
    char16_t shown;
    char16_t stored;
};

constexpr Substitute kTable[] = {
    {u'"', 0xCB}, {u'*', 0xCC}, {u'+', 0xCD}, {u',', 0xCE}, {u'/', 0xCF},
    {u':', 0xD0}, {u';', 0xDD}, {u'<', 0xEB}, {u'=', 0xEC}, {u'>', 0xED},
    {u'?', 0xEE}, {u'\\', 0xEF}, {u'|', 0xF0}};

// Blanks only: a tab at either end belongs to the name.
QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin);
}

template <typename From, typename To>
QString convert(const QString &s, From from, To to)
{
    QString out = s;
    for (QChar &c : out) {
        for (const Substitute &sub : kTable) {
            if (c.unicode() == from(sub)) {
                c = QChar(to(sub));
                break;
            }
        }
    }
    return trimBlanks(out);
}

} // namespace

QString OutDOS(const QString &shown)
{
    return convert(
        shown, [](const Substitute &s) { return s.shown; },
        [](const Substitute &s) { return s.stored; });
}

QString InDOS(const QString &stored)
{
    return convert(
        stored, [](const Substitute &s) { return s.stored; },
        [](const Substitute &s) { return s.shown; });
}
