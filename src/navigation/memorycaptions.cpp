#include "navigation/memorycaptions.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kShown = 50;

QString number(int n)
{
    return QString::number(n);
}

QString suffix(const QString &memory)
{
    return memory.size() > kShown ? u"..."_s : QString();
}

} // namespace

namespace MemoryCaptions {

QString goToPrefix(const Words &words, int n)
{
    return words(Word::Memory) + u" &"_s + number(n + 1) + u"  [F"_s + number(n + 5) + u"]  =>  "_s;
}

QString moveToPrefix(const Words &words, int n)
{
    return words(Word::Memory) + u" &"_s + number(n + 1) + u"  ["_s + words(Word::Ctrl) +
           u"] + [F"_s + number(n + 5) + u"]  =>  "_s;
}

QString setPrefix(const Words &words, int n)
{
    return words(Word::Memory) + u" &"_s + number(n + 1) + u"  [SH] + [F"_s + number(n + 5) +
           u"]  =>  "_s;
}

QString shownMemory(const QString &memory)
{
    return memory.left(kShown) + suffix(memory);
}

QString shownGroupPart(const QString &memory)
{
    return memory.section(u'/', 0, 0).left(kShown) + suffix(memory);
}

} // namespace MemoryCaptions
