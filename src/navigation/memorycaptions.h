#pragma once

#include <QString>

class Words;

// Captions of the position-memory menu items: a fixed prefix ending in "=>  "
// and, after it, what the memory holds. n is 0..3 (memory n + 1, key F(n + 5)).
namespace MemoryCaptions {

QString goToPrefix(const Words &words, int n);
QString moveToPrefix(const Words &words, int n);
QString setPrefix(const Words &words, int n);

// The memory as shown after a prefix: its first 50 characters, "..." when longer.
QString shownMemory(const QString &memory);
// The group part (before the first "/", at most 50 characters), with the "..."
// still decided by the length of the whole memory.
QString shownGroupPart(const QString &memory);

} // namespace MemoryCaptions
