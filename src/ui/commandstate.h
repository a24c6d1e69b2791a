#pragma once

#include <QString>
#include <array>
#include <optional>

class NoteTable;

// Every menu item and button whose enabled state RefreshCommands governs. The
// name of an item is its objectName: the design name, with the index of an array
// item appended (cmdEntry0, mnuSort1).
enum class Cmd {
    mnuGroup,
    mnuEntry,
    mnuOptions,
    cmdEntry0,
    cmdEntry1,
    mnuMoveTo,
    mnuSetMem,
    mnuClearMemos,
    cmdIndiv0,
    cmdIndiv1,
    cmdIndiv2,
    cmdIndiv3,
    cmdH0,
    cmdH1,
    cmdH2,
    cmdH3,
    mnuEntryCall0,
    mnuEntryCall1,
    mnuEntryRename,
    mnuEntryChange,
    mnuEditorCall0,
    mnuSortAll,
    cmdSort0,
    mnuEditor,
    cmdCRSR0,
    cmdCRSR1,
    cmdCRSR2,
    cmdCRSR3,
    cmdCRSR4,
    mnuSort0,
    mnuSort1,
    mnuGroupDelete,
    mnuGroupRename,
    mnuInsert,
    mnuClearTrash,
    txtText,
    mnuGoToMemo0,
    mnuGoToMemo1,
    mnuGoToMemo2,
    mnuGoToMemo3,
    mnuMoveToMemo0,
    mnuMoveToMemo1,
    mnuMoveToMemo2,
    mnuMoveToMemo3,
    mnuGoToLastMove,
    mnuIndent0,
    mnuIndent1,
    mnuCallTxtMemoCall0,
    mnuCallTxtMemoCall1,
    mnuCallTxtMemoCall2,
    mnuCallTxtMemoCall3,
    mnuClearTxtMemos,
};
inline constexpr int kCmdCount = int(Cmd::mnuClearTxtMemos) + 1;

QString commandName(Cmd c);

// What RefreshCommands reads: the selection, the modes and the memories.
struct CommandInput
{
    bool TextEditMode = false;
    bool Locked = false;
    bool FileMissing = false;

    int entryLine = -1;     // i: selected line of lstEntry, -1 for none
    int entryCount = 0;     // entries of the selected group; line entryCount is the closing line
    QString entryText;      // title shown on the selected lstEntry line
    int groupLine = -1;     // gi: selected line of lstGroup, -1 for none
    int groupLineCount = 0; // gc
    QString groupTitle;     // shown text of the selected lstGroup line

    bool InTrash = false;          // the selected group is "Trash"
    bool emptyTrashExists = false; // a group "Trash" exists and holds no entry
    bool HideYGroups = false;

    std::array<QString, 4> PhraseMemory;
    std::array<QString, 4> PositionMemory; // the user's memories 1..4
    QString LastMovePosition;              // PositionMemory(4)
};

// The outcome: an enabled state for every item the refresh set (an unset item
// keeps whatever it had), and the memories as the validation left them.
struct CommandState
{
    std::array<std::optional<bool>, kCmdCount> enabled{};
    std::array<QString, 4> PositionMemory;
    bool memoriesRepaired = false; // the captions need rewriting and the values storing

    std::optional<bool> operator[](Cmd c) const { return enabled[std::size_t(c)]; }
    void set(Cmd c, bool on) { enabled[std::size_t(c)] = on; }
};

// Whether a group named "Trash" exists and holds no entry (Clear Trash is then pointless).
bool emptyTrashExists(const NoteTable &table);

// Recomputes the enabled state of every governed item from scratch.
CommandState RefreshCommands(const CommandInput &in, const NoteTable &table);
