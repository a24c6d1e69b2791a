#include "ui/keymap.h"

#include <array>

namespace KeyMap {
namespace {

using enum Command;
using M = Modifiers;

// The keys of the entry list (and of the group list, past Up and Down). A key
// has at most one row for each state of the modifiers, so the order only
// keeps the table readable. Up without a modifier has no row: the list moves
// its selection itself.
constexpr std::array kEntryList{
    Row{Qt::Key_Return, Qt::Key_Return, M::Any, StartTextEdit},
    Row{Qt::Key_Enter, Qt::Key_Enter, M::Any, StartTextEdit},
    Row{Qt::Key_Escape, Qt::Key_Escape, M::Any, OpenFileMenu},
    Row{Qt::Key_Left, Qt::Key_Left, M::None, PreviousGroup},
    Row{Qt::Key_Left, Qt::Key_Left, M::Some, IndentLeft},
    Row{Qt::Key_Up, Qt::Key_Up, M::Some, OnePlaceUp},
    Row{Qt::Key_Right, Qt::Key_Right, M::None, NextGroup},
    Row{Qt::Key_Right, Qt::Key_Right, M::Some, IndentRight},
    Row{Qt::Key_Down, Qt::Key_Down, M::None, CursorPadDown},
    Row{Qt::Key_Down, Qt::Key_Down, M::Some, OnePlaceDown},
    Row{Qt::Key_Insert, Qt::Key_Insert, M::Any, NewEntry},
    Row{Qt::Key_Delete, Qt::Key_Delete, M::Any, TrashEntry},
    Row{Qt::Key_F1, Qt::Key_F1, M::Any, ShowManualFolder},
    Row{Qt::Key_F9, Qt::Key_F9, M::Any, GoToLastMove},
    Row{Qt::Key_F11, Qt::Key_F11, M::Any, InsertDashedLine},
    Row{Qt::Key_F12, Qt::Key_F12, M::Any, RenameEntry},
    Row{Qt::Key_F5, Qt::Key_F8, M::Any, PositionMemory},
    Row{Qt::Key_Z, Qt::Key_Z, M::CtrlOnly, Undo},
    Row{Qt::Key_Z, Qt::Key_Z, M::CtrlShift, Redo},
    Row{Qt::Key_Y, Qt::Key_Y, M::CtrlOnly, Redo},
};

constexpr std::array kGroupList{
    Row{Qt::Key_Up, Qt::Key_Up, M::Any, GroupListUp},
    Row{Qt::Key_Down, Qt::Key_Down, M::Any, GroupListDown},
};

// The keys of the text boxes. Enter without a modifier has no row: it is the
// box's line break.
constexpr std::array kText{
    Row{Qt::Key_Return, Qt::Key_Return, M::Some, OkKeepingKeyPress},
    Row{Qt::Key_Enter, Qt::Key_Enter, M::Some, OkKeepingKeyPress},
    Row{Qt::Key_Escape, Qt::Key_Escape, M::Any, Cancel},
    Row{Qt::Key_Delete, Qt::Key_Delete, M::Any, LockedDelete},
    Row{Qt::Key_F1, Qt::Key_F1, M::Any, ShowManualFolder},
    Row{Qt::Key_F2, Qt::Key_F2, M::Any, Ok},
    Row{Qt::Key_F3, Qt::Key_F3, M::Any, Save},
    Row{Qt::Key_F4, Qt::Key_F4, M::Any, Cancel},
    Row{Qt::Key_F5, Qt::Key_F8, M::None, CallPhrase},
    Row{Qt::Key_F5, Qt::Key_F8, M::ShiftOnly, SetPhrase},
    Row{Qt::Key_F11, Qt::Key_F11, M::Any, InsertDate},
    Row{Qt::Key_F12, Qt::Key_F12, M::Any, InsertTime},
};

// The mask box has the keys of an edit and F1, nothing else.
constexpr std::array kMask{
    Row{Qt::Key_Return, Qt::Key_Return, M::Some, OkKeepingKeyPress},
    Row{Qt::Key_Enter, Qt::Key_Enter, M::Some, OkKeepingKeyPress},
    Row{Qt::Key_Escape, Qt::Key_Escape, M::Any, Cancel},
    Row{Qt::Key_F1, Qt::Key_F1, M::Any, ShowManualFolder},
    Row{Qt::Key_F2, Qt::Key_F2, M::Any, Ok},
    Row{Qt::Key_F4, Qt::Key_F4, M::Any, Cancel},
};

} // namespace

std::span<const Row> rows(Place place)
{
    switch (place) {
    case Place::EntryList:
        return kEntryList;
    case Place::GroupList:
        return kGroupList;
    case Place::Text:
        return kText;
    case Place::Mask:
        return kMask;
    }
    return {};
}

bool matches(Modifiers rule, Qt::KeyboardModifiers held)
{
    held &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    switch (rule) {
    case Modifiers::Any:
        return true;
    case Modifiers::None:
        return held == Qt::NoModifier;
    case Modifiers::Some:
        return held != Qt::NoModifier;
    case Modifiers::ShiftOnly:
        return held == Qt::ShiftModifier;
    case Modifiers::CtrlOnly:
        return held == Qt::ControlModifier;
    case Modifiers::CtrlShift:
        return held == (Qt::ControlModifier | Qt::ShiftModifier);
    }
    return false;
}

const Row *find(Place place, int key, Qt::KeyboardModifiers held)
{
    for (const Row &row : rows(place)) {
        if (key >= row.first && key <= row.last && matches(row.modifiers, held))
            return &row;
    }
    return nullptr;
}

} // namespace KeyMap
