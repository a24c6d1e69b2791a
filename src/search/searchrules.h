#pragma once

#include <QString>
#include <QStringView>
#include <array>

// What the search dialog keeps from one opening to the next, for the run: the
// six options' states (by index, as SearchOptionSet names them), the text it
// was closed with, and where in the entry text a search goes on.
struct SearchMemory
{
    std::array<int, 6> options{1, 1, 1, 1, 0, 0};
    QString lastText;
    int position = 0;
};

// The six options of the search dialog, by their index in SearchMemory::options.
struct SearchOptionSet
{
    bool titles = true;         // 0: entry titles are compared
    bool texts = true;          // 1: entry texts are compared
    bool trash = true;          // 2: the group "Trash" is searched
    bool yGroups = true;        // 3: groups whose name begins with "ÿ" are searched
    bool fixEntry = false;      // 4: only the selected entry is searched
    bool caseSensitive = false; // 5: exact comparison; otherwise both sides in lower case

    static SearchOptionSet from(const std::array<int, 6> &states);
};

// How one search text is compared with titles and texts.
namespace SearchRules {

// Lower case character by character. Every character keeps its place, so a hit
// found in the lowered text starts where it does in the text itself; a letter
// whose lower case is longer than one character stays as it is.
QString lowered(QStringView text);

// Start and Continue are possible: a search text, and titles or texts to compare.
bool canSearch(const QString &searchText, const SearchOptionSet &options);

// The group of this shown name is passed over by options 2 and 3.
bool skipsGroup(const QString &shownName, const SearchOptionSet &options);

// The search text occurs in the shown title.
bool titleMatches(QStringView shownTitle, const QString &searchText, bool caseSensitive);

// 0-based start of the first occurrence at or after `from` in a text as the
// text box shows it, or -1.
qsizetype findInText(QStringView text, const QString &searchText, qsizetype from,
                     bool caseSensitive);

} // namespace SearchRules
