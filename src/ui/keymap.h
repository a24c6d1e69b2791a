#pragma once

#include <Qt>
#include <span>

// The key map of the main window: which key, with which modifiers, in which
// control runs which command. One table; each control's handler walks its
// part in the order given here and acts on the first row that matches.
namespace KeyMap {

// Where a key arrives. The group list handles Up and Down itself and passes
// every other key on to the entry list's rows.
enum class Place { EntryList, GroupList, Text, Mask };

// How a row reads the modifiers (Shift, Ctrl, Alt; the keypad flag is none).
enum class Modifiers {
    Any,       // whatever is held
    None,      // nothing held
    Some,      // anything held
    ShiftOnly, // Shift and nothing else
    CtrlOnly,  // Ctrl and nothing else
    CtrlShift, // Ctrl and Shift, nothing else
};

enum class Command {
    StartTextEdit,
    OpenFileMenu,
    PreviousGroup,
    IndentLeft,
    OnePlaceUp,
    NextGroup,
    IndentRight,
    CursorPadDown,
    OnePlaceDown,
    NewEntry,
    TrashEntry,
    ShowManualFolder,
    GoToLastMove,
    InsertDashedLine,
    RenameEntry,
    PositionMemory, // F5 to F8; the command reads the modifiers itself
    GroupListUp,
    GroupListDown,
    OkKeepingKeyPress, // Enter with a modifier: OK, and the Enter typed is dropped
    Cancel,
    LockedDelete,
    Ok,
    Save,
    CallPhrase,
    SetPhrase,
    InsertDate,
    InsertTime,
    Undo,
    Redo,
};
inline constexpr int kCommandCount = int(Command::Redo) + 1;

struct Row
{
    Qt::Key first;
    Qt::Key last; // F5 to F8 are one row
    Modifiers modifiers;
    Command command;
};

std::span<const Row> rows(Place place);

bool matches(Modifiers rule, Qt::KeyboardModifiers held);

// The first row of `place` for this key and these modifiers, or nullptr.
const Row *find(Place place, int key, Qt::KeyboardModifiers held);

} // namespace KeyMap
