#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <optional>

class NoteTable;

namespace Commands {
Q_NAMESPACE

// Every command, menu and control whose enabled state follows the selection,
// the modes and the memories. A command that has a menu item and a button is
// one action, shown by both.
enum class Role {
    // Menus of the menu bar and their submenus
    FileMenu,
    GroupMenu,
    EntryMenu,
    GoMoveMenu,
    OptionsMenu,
    InfoMenu,
    InsertMenu,
    EditorMenu,
    MoveToMenu,
    SetMemoryMenu,
    // The selected entry and the group's order
    NewEntry,
    TrashEntry,
    RenameEntry,
    ChangeGroup,
    OpenInEditor,
    Sort,
    MoveUp,
    MoveDown,
    IndentLeft,
    IndentRight,
    // The groups
    RenameGroup,
    DeleteGroup,
    ClearTrash,
    // The cursor pad beside the lists
    PreviousGroup,
    NextGroup,
    PreviousEntry,
    NextEntry,
    Jump,
    // The individual buttons
    IndividualButton1,
    IndividualButton2,
    IndividualButton3,
    IndividualButton4,
    // Position memories
    GoToMemory1,
    GoToMemory2,
    GoToMemory3,
    GoToMemory4,
    GoToLastMove,
    MoveToMemory1,
    MoveToMemory2,
    MoveToMemory3,
    MoveToMemory4,
    ClearMemories,
    // Phrase memories
    CallPhrase1,
    CallPhrase2,
    CallPhrase3,
    CallPhrase4,
    ClearPhrases,
    // The entry's text box
    EntryText,
};
Q_ENUM_NS(Role)

} // namespace Commands

using Cmd = Commands::Role;
inline constexpr int kCmdCount = int(Cmd::EntryText) + 1;

// The role's name, as tests and messages spell it ("TrashEntry").
QString commandName(Cmd c);

// What the command states are computed from: the selection, the modes and the memories.
struct CommandInput
{
    bool editing = false; // the entry text or the mask is being edited
    bool locked = false;
    bool fileMissing = false;

    int entryLine = -1; // selected line of the entry list, -1 for none
    int entryCount = 0; // entries of the selected group; line entryCount is the closing line
    QString entryText;  // title shown on the selected entry line
    int groupLine = -1; // selected line of the group list, -1 for none
    int groupLineCount = 0;
    QString groupTitle; // shown text of the selected group line

    bool inTrash = false;          // the selected group is "Trash"
    bool emptyTrashExists = false; // a group "Trash" exists and holds no entry
    bool hideYGroups = false;

    std::array<QString, 4> phraseMemory;
    std::array<QString, 4> positionMemory; // the user's memories 1..4
    QString lastMovePosition;
};

// The outcome: an enabled state for every command the computation set (an
// unset one keeps whatever it had), and the memories as the validation left them.
struct CommandState
{
    std::array<std::optional<bool>, kCmdCount> enabled{};
    std::array<QString, 4> positionMemory;
    bool memoriesRepaired = false; // the captions need rewriting and the values storing

    std::optional<bool> operator[](Cmd c) const { return enabled[std::size_t(c)]; }
    void set(Cmd c, bool on) { enabled[std::size_t(c)] = on; }
};

// Whether a group named "Trash" exists and holds no entry (Clear Trash is then pointless).
bool emptyTrashExists(const NoteTable &table);

// The enabled state of every command, computed from scratch.
CommandState commandStates(const CommandInput &in, const NoteTable &table);
