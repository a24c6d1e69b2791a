#include "navigation/moverefusal.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "ui/memoryplace.h"

using namespace Qt::StringLiterals;

QString MoveRefusal::text(const Words &words) const
{
    const QString group = MemoryPlace::groupPart(memory);
    // The lock and a hidden target have words of their own; "the memory is
    // free" would send the user to fill a memory that is already set.
    if (locked)
        return words(Word::EditPermissionLocked);
    if (group == selectedGroup) {
        // The built-in English has no text here; an empty box explains nothing.
        const QString text = words(Word::AlreadyInMemoryGroup);
        return text.isEmpty() ? u"The entry is already in the group of Memory %1."_s.arg(n + 1)
                              : text;
    }
    if (fileMissing)
        return words(Word::OnlyRealFilesMove);
    if (hideYGroups && group.startsWith(QChar(0xFF)))
        return words(Word::OnlyIfYGroupsShown);
    // The number as the program has always shown it, after a blank.
    return words(Word::MemoryFree) + u' ' + QString::number(n + 1);
}
