#include "store/notetable.h"

#include <algorithm>

void NoteTable::clear()
{
    std::fill(cells_.begin(), cells_.end(), QString());
}

int NoteTable::groupCount() const
{
    int g = 0;
    while (g < kGroups && !name(g).isEmpty())
        ++g;
    return g;
}

int NoteTable::entryCount(int g) const
{
    int c = 1;
    while (c < kColumns && !cell(g, c).isEmpty())
        ++c;
    return c - 1;
}

void NoteTable::copyRow(int from, int to)
{
    std::copy_n(cells_.begin() + index(from, 0), kColumns, cells_.begin() + index(to, 0));
}

void NoteTable::clearRow(int g)
{
    std::fill_n(cells_.begin() + index(g, 0), kColumns, QString());
}

void NoteTable::openRow(int L)
{
    for (int i = kGroups - 1; i >= L + 1; --i) {
        if (!name(i - 1).isEmpty())
            copyRow(i - 1, i);
    }
    clearRow(L);
}

void NoteTable::closeRow(int L)
{
    for (int i = L; i < kGroups - 1; ++i)
        copyRow(i + 1, i);
    clearRow(kGroups - 1);
}

void NoteTable::moveRow(int from, int to)
{
    if (from == to)
        return;
    auto first = cells_.begin();
    if (from < to)
        std::rotate(first + index(from, 0), first + index(from + 1, 0), first + index(to + 1, 0));
    else
        std::rotate(first + index(to, 0), first + index(from, 0), first + index(from + 1, 0));
}

int NoteTable::findGroup(const QString &storedName) const
{
    for (int g = 0; g < kGroups; ++g) {
        if (name(g) == storedName)
            return g;
    }
    return -1;
}

int NoteTable::findTitle(int g, const QString &storedTitle) const
{
    for (int c = 1; c < kColumns; ++c) {
        if (cell(g, c) == storedTitle)
            return c;
    }
    return -1;
}
