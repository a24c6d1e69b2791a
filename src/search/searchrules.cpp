#include "search/searchrules.h"

using namespace Qt::StringLiterals;

SearchOptionSet SearchOptionSet::from(const std::array<int, 6> &states)
{
    return SearchOptionSet{states[0] != 0, states[1] != 0, states[2] != 0,
                           states[3] != 0, states[4] != 0, states[5] != 0};
}

namespace SearchRules {

QString lowered(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const QChar c : text)
        *dst++ = c.toLower();
    return out;
}

bool canSearch(const QString &searchText, const SearchOptionSet &options)
{
    return !searchText.isEmpty() && (options.titles || options.texts);
}

bool skipsGroup(const QString &shownName, const SearchOptionSet &options)
{
    if (!options.trash && shownName == u"Trash"_s)
        return true;
    return !options.yGroups && shownName.startsWith(QChar(0xFF));
}

bool titleMatches(QStringView shownTitle, const QString &searchText, bool caseSensitive)
{
    if (caseSensitive)
        return shownTitle.contains(searchText);
    return lowered(shownTitle).contains(lowered(searchText));
}

qsizetype findInText(QStringView text, const QString &searchText, qsizetype from,
                     bool caseSensitive)
{
    if (from < 0 || from > text.size())
        return -1;
    if (caseSensitive)
        return text.indexOf(searchText, from);
    return lowered(text).indexOf(lowered(searchText), from);
}

} // namespace SearchRules
