#pragma once

#include <QString>

// The order of the sorted lists (groups, and the entry sort): alphabetical
// ignoring case, with "_" before the letters, so b, A, _c sort as _c, A, b.
// Names that differ only in case keep a fixed order among themselves.
int listCompare(const QString &a, const QString &b);

inline bool listLess(const QString &a, const QString &b)
{
    return listCompare(a, b) < 0;
}

// A ÿ-group: a group name (stored or shown) beginning with "ÿ", hidden while
// HideYGroups is set. They sort after every other group.
bool isYGroup(const QString &name);
