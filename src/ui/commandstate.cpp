#include "ui/commandstate.h"

#include "store/notetable.h"
#include "ui/memoryplace.h"

using namespace Qt::StringLiterals;

namespace {

constexpr const char16_t *kNames[kCmdCount] = {
    u"mnuGroup",
    u"mnuEntry",
    u"mnuOptions",
    u"cmdEntry0",
    u"cmdEntry1",
    u"mnuMoveTo",
    u"mnuSetMem",
    u"mnuClearMemos",
    u"cmdIndiv0",
    u"cmdIndiv1",
    u"cmdIndiv2",
    u"cmdIndiv3",
    u"cmdH0",
    u"cmdH1",
    u"cmdH2",
    u"cmdH3",
    u"mnuEntryCall0",
    u"mnuEntryCall1",
    u"mnuEntryRename",
    u"mnuEntryChange",
    u"mnuEditorCall0",
    u"mnuSortAll",
    u"cmdSort0",
    u"mnuEditor",
    u"cmdCRSR0",
    u"cmdCRSR1",
    u"cmdCRSR2",
    u"cmdCRSR3",
    u"cmdCRSR4",
    u"mnuSort0",
    u"mnuSort1",
    u"mnuGroupDelete",
    u"mnuGroupRename",
    u"mnuInsert",
    u"mnuClearTrash",
    u"txtText",
    u"mnuGoToMemo0",
    u"mnuGoToMemo1",
    u"mnuGoToMemo2",
    u"mnuGoToMemo3",
    u"mnuMoveToMemo0",
    u"mnuMoveToMemo1",
    u"mnuMoveToMemo2",
    u"mnuMoveToMemo3",
    u"mnuGoToLastMove",
    u"mnuIndent0",
    u"mnuIndent1",
    u"mnuCallTxtMemoCall0",
    u"mnuCallTxtMemoCall1",
    u"mnuCallTxtMemoCall2",
    u"mnuCallTxtMemoCall3",
    u"mnuClearTxtMemos",
};

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
        QString &memory = out.PositionMemory[n];
        const Cmd goTo = nth(Cmd::mnuGoToMemo0, n);
        const Cmd moveTo = nth(Cmd::mnuMoveToMemo0, n);
        if (memory == free) {
            out.set(goTo, false);
            out.set(moveTo, false);
            continue;
        }
        if (!memory.contains(u'/')) {
            memory += u'/';
            out.memoriesRepaired = true;
        }
        const MemoryPlace::Place place = MemoryPlace::find(table, memory, in.HideYGroups);
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
    const QString &last = in.LastMovePosition;
    out.set(Cmd::mnuGoToLastMove, !last.isEmpty() &&
                                      MemoryPlace::groupPart(last) != in.groupTitle &&
                                      !MemoryPlace::find(table, last, in.HideYGroups).misread);
}

// The phrase keys work in the text whether it is edited or only viewed, so
// their items follow the phrases in every state: an empty phrase types nothing.
void setPhraseItems(const CommandInput &in, CommandState &out)
{
    bool anyPhrase = false;
    for (int k = 0; k < 4; ++k) {
        const bool set = in.PhraseMemory[k] != kFreePhrase;
        out.set(nth(Cmd::mnuCallTxtMemoCall0, k), set);
        anyPhrase = anyPhrase || set;
    }
    out.set(Cmd::mnuClearTxtMemos, anyPhrase);
}

} // namespace

QString commandName(Cmd c)
{
    return QString::fromUtf16(kNames[int(c)]);
}

bool emptyTrashExists(const NoteTable &table)
{
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        if (table.name(g) == u"Trash"_s && table.cell(g, 1).isEmpty())
            return true;
    }
    return false;
}

CommandState RefreshCommands(const CommandInput &in, const NoteTable &table)
{
    CommandState out;
    out.PositionMemory = in.PositionMemory;

    setPhraseItems(in, out);
    // While the text is edited only the phrase items follow; the edit frame hides the rest.
    if (in.TextEditMode)
        return out;

    const int i = in.entryLine;
    const int entries = in.entryCount;
    const bool hasGroup = in.groupLine >= 0;
    // No line selected counts as the closing blank line: there is no entry to act on.
    const bool onBlank = i < 0 || i >= entries;
    const bool unlocked = !in.Locked;

    const bool entrySel = unlocked && !onBlank;
    const bool canUp = entrySel && i != 0;
    const bool canDown = entrySel && i != entries - 1;
    const bool canDelGroup = unlocked && hasGroup && onBlank && entries < 2;
    const bool canSort = unlocked && entries >= 2;
    const bool hasEntries = entries >= 1;

    for (Cmd c : {Cmd::mnuGroup, Cmd::mnuEntry, Cmd::mnuOptions, Cmd::mnuMoveTo, Cmd::mnuSetMem,
                  Cmd::mnuClearMemos, Cmd::cmdIndiv0, Cmd::cmdIndiv1, Cmd::cmdIndiv2,
                  Cmd::cmdIndiv3, Cmd::cmdH0, Cmd::cmdH1})
        out.set(c, unlocked);

    for (Cmd c : {Cmd::mnuEntryCall1, Cmd::mnuEntryRename, Cmd::mnuEntryChange, Cmd::mnuEditorCall0,
                  Cmd::cmdEntry1})
        out.set(c, entrySel);
    out.set(Cmd::mnuSortAll, canSort);
    out.set(Cmd::cmdSort0, canSort);
    out.set(Cmd::mnuEditor, hasEntries);
    out.set(Cmd::cmdCRSR4, hasEntries);
    out.set(Cmd::mnuSort0, canUp);
    out.set(Cmd::cmdH2, canUp);
    out.set(Cmd::mnuSort1, canDown);
    out.set(Cmd::cmdH3, canDown);
    out.set(Cmd::mnuGroupDelete, canDelGroup && !in.InTrash);

    if (in.FileMissing) {
        out.set(Cmd::mnuEntryChange, false);
        out.set(Cmd::mnuEditorCall0, false);
    }

    // New entries, inserts and renames need a group to act on, and never the trash.
    const bool groupOpen = hasGroup && !in.InTrash;
    if (in.InTrash) {
        out.set(Cmd::mnuEntryCall1, false);
        out.set(Cmd::cmdEntry1, false);
    }
    out.set(Cmd::mnuGroupRename, groupOpen);
    out.set(Cmd::mnuInsert, groupOpen);
    out.set(Cmd::mnuEntryCall0, groupOpen);
    out.set(Cmd::cmdEntry0, groupOpen && unlocked);

    out.set(Cmd::mnuClearTrash, !in.emptyTrashExists);

    out.set(Cmd::txtText, !in.FileMissing);

    validateMemories(in, table, out);
    if (unlocked) {
        out.set(Cmd::mnuMoveTo, !in.FileMissing);
        bool anyMemory = false;
        for (const QString &memory : out.PositionMemory)
            anyMemory = anyMemory || memory != MemoryPlace::freeMemory();
        out.set(Cmd::mnuClearMemos, anyMemory);
    }

    out.set(Cmd::mnuIndent0, !onBlank);

    out.set(Cmd::cmdCRSR0, in.groupLine > 0);
    out.set(Cmd::cmdCRSR1, hasGroup && in.groupLine < in.groupLineCount - 1);
    out.set(Cmd::cmdCRSR2, i > 0);

    if (onBlank) {
        out.set(Cmd::cmdH1, false);
        out.set(Cmd::cmdCRSR3, false);
    } else if (unlocked) {
        out.set(Cmd::cmdCRSR3, true);
    }
    // Locked and not on the last line: cmdCRSR3 keeps whatever it had.

    const bool indentLeft = unlocked && in.entryText.startsWith(u'_');
    out.set(Cmd::cmdH0, indentLeft);
    out.set(Cmd::mnuIndent1, indentLeft);
    return out;
}
