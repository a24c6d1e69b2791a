#include "navigation/moverefusal.h"

#include "i18n/wordtable.h"
#include "ui/memoryplace.h"

using namespace Qt::StringLiterals;

QString MoveRefusal::text(const Words &words) const
{
    const QString group = MemoryPlace::groupPart(memory);
    // The lock and a hidden target have words of their own; "the memory is
    // free" would send the user to fill a memory that is already set.
    if (locked)
        return words(78);
    if (group == selectedGroup) {
        // The built-in English has no text here; an empty box explains nothing.
        const QString text = words(140);
        return text.isEmpty() ? u"The entry is already in the group of Memory %1."_s.arg(n + 1)
                              : text;
    }
    if (fileMissing)
        return words(141);
    if (hideYGroups && group.startsWith(QChar(0xFF)))
        return words(77);
    // The number as the program has always shown it, after a blank.
    return words(139) + u' ' + QString::number(n + 1);
}
