#include "ui/commandstate.h"

#include "store/notetable.h"
#include "ui/memoryplace.h"

#include <QMetaEnum>

using namespace Qt::StringLiterals;

namespace {

const QString kFreePhrase = u"free"_s;

Cmd nth(Cmd first, int n)
{
    return Cmd(int(first) + n);
}

// Repairs the user's memories against the notebook and sets the Go To and
// Move To items from them.
void validateMemories(const CommandInput &in, const NoteTable &table, CommandState &out)
{
    const QString free = MemoryPlace::freeMemory();
    for (int n = 0; n < 4; ++n) {
        QString &memory = out.positionMemory[n];
        const Cmd goTo = nth(Cmd::GoToMemory1, n);
        const Cmd moveTo = nth(Cmd::MoveToMemory1, n);
        if (memory == free) {
            out.set(goTo, false);
            out.set(moveTo, false);
            continue;
        }
        if (!memory.contains(u'/')) {
            memory += u'/';
            out.memoriesRepaired = true;
        }
        const MemoryPlace::Place place = MemoryPlace::find(table, memory, in.hideYGroups);
        if (place.misread) {
            // Neither offered nor cut back: the memory stays for its own group.
            out.set(goTo, false);
            out.set(moveTo, false);
            continue;
        }
        const QString group = MemoryPlace::groupPart(memory);
        if (place.group >= 0 && !place.groupOnly && place.column < 0) {
            memory = group + u'/';
            out.memoriesRepaired = true;
        }
        // A hidden ÿ-group is not found: the list that Go To selects from
        // does not show it, and a move must not put an entry out of sight.
        const bool isSelectedGroup = group == in.groupTitle;
        out.set(moveTo, place.group >= 0 && !isSelectedGroup);
        if (place.group < 0)
            out.set(goTo, false);
        else if (place.column < 0)
            out.set(goTo, !isSelectedGroup);
        else
            out.set(goTo, !isSelectedGroup || in.entryLine + 1 != place.column);
    }
    const QString &last = in.lastMovePosition;
    out.set(Cmd::GoToLastMove, !last.isEmpty() && MemoryPlace::groupPart(last) != in.groupTitle &&
                                   !MemoryPlace::find(table, last, in.hideYGroups).misread);
}

// The phrase keys work in the text whether it is edited or only viewed, so
// their items follow the phrases in every state: an empty phrase types nothing.
void setPhraseItems(const CommandInput &in, CommandState &out)
{
    bool anyPhrase = false;
    for (int k = 0; k < 4; ++k) {
        const bool set = in.phraseMemory[k] != kFreePhrase;
        out.set(nth(Cmd::CallPhrase1, k), set);
        anyPhrase = anyPhrase || set;
    }
    out.set(Cmd::ClearPhrases, anyPhrase);
}

} // namespace

QString commandName(Cmd c)
{
    return QString::fromLatin1(QMetaEnum::fromType<Cmd>().valueToKey(int(c)));
}

bool emptyTrashExists(const NoteTable &table)
{
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        if (table.name(g) == u"Trash"_s && table.cell(g, 1).isEmpty())
            return true;
    }
    return false;
}

CommandState commandStates(const CommandInput &in, const NoteTable &table)
{
    CommandState out;
    out.positionMemory = in.positionMemory;

    setPhraseItems(in, out);
    // While the text or the mask is edited, the edit frame stands in for the
    // panels: the menus and the buttons beside the lists, which would change
    // the selection or the order under the edit, are greyed.
    const bool viewing = !in.editing;
    for (Cmd c : {Cmd::FileMenu, Cmd::GroupMenu, Cmd::EntryMenu, Cmd::GoMoveMenu, Cmd::OptionsMenu,
                  Cmd::InfoMenu})
        out.set(c, viewing);
    if (in.editing) {
        for (Cmd c : {Cmd::PreviousGroup, Cmd::NextGroup, Cmd::PreviousEntry, Cmd::NextEntry,
                      Cmd::Jump, Cmd::IndentLeft, Cmd::IndentRight, Cmd::MoveUp, Cmd::MoveDown})
            out.set(c, false);
        return out;
    }

    const int i = in.entryLine;
    const int entries = in.entryCount;
    const bool hasGroup = in.groupLine >= 0;
    // No line selected counts as the closing blank line: there is no entry to act on.
    const bool onBlank = i < 0 || i >= entries;
    const bool unlocked = !in.locked;

    const bool entrySel = unlocked && !onBlank;
    const bool canSort = unlocked && entries >= 2;
    const bool hasEntries = entries >= 1;
    // New entries, inserts and renames need a group to act on, and never the trash.
    const bool groupOpen = hasGroup && !in.inTrash;

    for (Cmd c : {Cmd::GroupMenu, Cmd::EntryMenu, Cmd::OptionsMenu, Cmd::SetMemoryMenu,
                  Cmd::IndividualButton1, Cmd::IndividualButton2, Cmd::IndividualButton3,
                  Cmd::IndividualButton4})
        out.set(c, unlocked);

    out.set(Cmd::NewEntry, groupOpen && unlocked);
    out.set(Cmd::TrashEntry, entrySel && !in.inTrash);
    out.set(Cmd::RenameEntry, entrySel);
    out.set(Cmd::ChangeGroup, entrySel && !in.fileMissing);
    out.set(Cmd::OpenInEditor, entrySel && !in.fileMissing);
    out.set(Cmd::Sort, canSort);
    out.set(Cmd::MoveUp, entrySel && i != 0);
    out.set(Cmd::MoveDown, entrySel && i != entries - 1);
    out.set(Cmd::IndentRight, entrySel);
    out.set(Cmd::IndentLeft, unlocked && in.entryText.startsWith(u'_'));
    out.set(Cmd::EditorMenu, hasEntries);
    out.set(Cmd::Jump, hasEntries);

    out.set(Cmd::DeleteGroup, unlocked && hasGroup && onBlank && entries < 2 && !in.inTrash);
    out.set(Cmd::RenameGroup, groupOpen);
    out.set(Cmd::InsertMenu, groupOpen);
    out.set(Cmd::ClearTrash, !in.emptyTrashExists);
    out.set(Cmd::EntryText, !in.fileMissing);

    validateMemories(in, table, out);
    out.set(Cmd::MoveToMenu, unlocked && !in.fileMissing);
    bool anyMemory = false;
    for (const QString &memory : out.positionMemory)
        anyMemory = anyMemory || memory != MemoryPlace::freeMemory();
    out.set(Cmd::ClearMemories, unlocked && anyMemory);

    out.set(Cmd::PreviousGroup, in.groupLine > 0);
    out.set(Cmd::NextGroup, hasGroup && in.groupLine < in.groupLineCount - 1);
    out.set(Cmd::PreviousEntry, i > 0);
    if (onBlank)
        out.set(Cmd::NextEntry, false);
    else if (unlocked)
        out.set(Cmd::NextEntry, true);
    // Locked and not on the closing line: Next Entry keeps whatever it had.
    return out;
}
