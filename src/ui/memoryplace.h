#pragma once

#include <QString>

class NoteTable;

// Where a position memory points in the notebook. A memory is the shown group
// title, "/" and the shown entry title ("Work/Shopping"), or a group title
// ending in "/" ("Work/"); it splits at its first "/". The window's go-to,
// move-to and the command state all read a memory through this, so what the
// menu offers is exactly where the key goes.
namespace MemoryPlace {

// An empty memory 1..4.
QString freeMemory();

// The text before the first "/" (all of it when there is none).
QString groupPart(const QString &memory);

struct Place
{
    int group = -1;         // slot of the group, -1 when no listed group has the title
    int column = -1;        // column of the entry, -1 for a group memory or no such title
    bool groupOnly = false; // the memory ends in "/"
    // A listed group whose title holds "/" could have left this memory: the
    // split at the first "/" would read another group (or none), so it is
    // not used at all rather than used for the wrong group.
    bool misread = false;
};

// Groups are searched in slot order (the order of the group list), hidden
// ÿ-groups left out as the list leaves them out; the first equal title wins.
Place find(const NoteTable &table, const QString &memory, bool hideYGroups);

} // namespace MemoryPlace
