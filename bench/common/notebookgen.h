#pragma once

#include "store/notetable.h"

#include <QString>

// Full-size notebooks for the benchmarks: group names and titles as users
// make them (indents with "_", separator lines, characters kept as their
// substitutes, the euro sign, a ÿ-group), entry texts of varied sizes and a
// mask per group. The same seed always gives the same notebook.
namespace NotebookGen {

struct Summary
{
    int groups = 0;
    int entries = 0;
    int files = 0;         // entry files and masks written
    qint64 indexBytes = 0; // size of idx.dat
    qint64 textBytes = 0;  // entry files and masks together
};

// The table alone: `groups` groups (at most 100, one of them "Trash") in
// list order, each with `entries` titles (at most 999).
NoteTable generateTable(int groups, int entries, quint32 seed);

// Writes a whole store into `storeFolder` (created if needed; ends in "/"):
// idx.dat, one folder per group with its _mask.dat and one file per entry.
// With `entryFiles` false only idx.dat and the group folders with their masks
// are written. Returns what was written, or groups 0 when a write failed.
Summary generateNotebook(const QString &storeFolder, int groups, int entries, quint32 seed,
                         bool entryFiles = true);

} // namespace NotebookGen
