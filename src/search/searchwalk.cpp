#include "search/searchwalk.h"

#include <algorithm>

namespace SearchWalk {

Start startAt(bool continued, int groupLine, int entryLine)
{
    if (!continued)
        return Start{};
    return Start{std::max(groupLine, 0), std::max(entryLine, 0)};
}

int searchPosAtStart(bool continued, int searchPos)
{
    return continued ? std::max(searchPos, 1) : 1;
}

std::vector<Span> spans(const std::vector<Group> &groups, Start start,
                        const SearchOptionSet &options)
{
    std::vector<Span> out;
    const int lastGroup = options.fixEntry ? start.group : int(groups.size()) - 1;
    for (int g = start.group; g <= lastGroup && g < int(groups.size()); ++g) {
        if (SearchRules::skipsGroup(groups[g].shownName, options))
            continue;
        const int first = g == start.group ? start.entry : 0;
        const int last = options.fixEntry ? start.entry : groups[g].entryCount - 1;
        if (first <= last && last < groups[g].entryCount)
            out.push_back(Span{g, first, last});
    }
    return out;
}

bool visitsBlankLine(const std::vector<Group> &groups, Start start, const SearchOptionSet &options)
{
    return options.fixEntry && start.group < int(groups.size()) &&
           !SearchRules::skipsGroup(groups[size_t(start.group)].shownName, options) &&
           start.entry >= groups[size_t(start.group)].entryCount;
}

int searchPosAfter(const Hit &hit, qsizetype searchTextLength, int before, bool anyVisited,
                   const SearchOptionSet &options)
{
    if (hit.kind == HitKind::Text)
        return int(hit.start + searchTextLength + 1);
    if (options.texts && (anyVisited || hit.kind == HitKind::Title))
        return 1;
    return before;
}

} // namespace SearchWalk
