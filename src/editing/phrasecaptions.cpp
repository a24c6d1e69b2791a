#include "editing/phrasecaptions.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"

using namespace Qt::StringLiterals;

namespace PhraseCaptions {

QString callPrefix(const Words &words, int n)
{
    return words(Word::Phrase) + u" &"_s + QString::number(n + 1) + u"  [F"_s +
           QString::number(n + 5) + u"]  =>  "_s;
}

QString setPrefix(const Words &words, int n)
{
    return words(Word::Phrase) + u" &"_s + QString::number(n + 1) + u"  [SH] + [F"_s +
           QString::number(n + 5) + u"]  =>  "_s;
}

QString shownPhrase(const QString &phrase)
{
    constexpr int kShown = 15;
    return phrase.left(kShown) + (phrase.size() > kShown ? u"..."_s : QString());
}

} // namespace PhraseCaptions
