#pragma once

#include "search/searchrules.h"

#include <QString>
#include <vector>

// The order in which a search visits the entries, and what it leaves behind,
// as functions of the group list's lines: the same whether the entries are
// selected one after the other in the window or read straight from the store.
namespace SearchWalk {

// One line of the group list.
struct Group
{
    QString shownName;
    int entryCount = 0; // lines of its entry list without the closing blank line
};

// Entry lines first..last of group line `group`, visited in this order.
struct Span
{
    int group = 0;
    int first = 0;
    int last = -1;
    int size() const { return last - first + 1; }
};

// Start: the first entry of the first group. Continue: the selected group and
// entry line (none selected counts as the first).
struct Start
{
    int group = 0;
    int entry = 0;
};
Start startAt(bool continued, int groupLine, int entryLine);
// SearchPos when the search begins: 1 for Start, at least 1 for Continue.
int searchPosAtStart(bool continued, int searchPos);

// From the start to the end of the list, or only the start entry with option
// 4; groups left out by options 2 and 3 are passed over, also the start group;
// every group after the start group from its first entry. Empty spans are left out.
std::vector<Span> spans(const std::vector<Group> &groups, Start start,
                        const SearchOptionSet &options);

// With option 4 the start entry is visited even when it is the closing blank
// line, which is no entry: its empty text is compared, never with a hit.
bool visitsBlankLine(const std::vector<Group> &groups, Start start, const SearchOptionSet &options);

enum class HitKind { None, Title, Text };

struct Hit
{
    HitKind kind = HitKind::None;
    int group = -1;       // line of the group list
    int entry = -1;       // line of the entry list
    qsizetype start = -1; // text hit: 0-based start in the text as the text box shows it
};

// SearchPos after the search: the first character behind a text hit; 1 once a
// text was compared without a hit (a title hit never comes first, so a text was
// compared before it); otherwise as it was.
int searchPosAfter(const Hit &hit, qsizetype searchTextLength, int before, bool anyVisited,
                   const SearchOptionSet &options);

} // namespace SearchWalk
