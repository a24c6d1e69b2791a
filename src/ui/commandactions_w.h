#pragma once

#include "ui/commandstate.h"

#include <array>

struct MainWidgets;
class QAction;
class QObject;

// The organizing commands of the main window, one action each, by what they
// do: the menu item, the button and the keys of a command all trigger it.
struct CommandActions
{
    // The selected entry
    QAction *trashEntry = nullptr;
    QAction *renameEntry = nullptr;
    QAction *moveEntryToGroup = nullptr;

    // The order of the group's entries
    QAction *sort = nullptr;
    QAction *moveUp = nullptr;
    QAction *moveDown = nullptr;
    QAction *indentLeft = nullptr;
    QAction *indentRight = nullptr;

    // The cursor pad beside the lists
    QAction *previousGroup = nullptr;
    QAction *nextGroup = nullptr;
    QAction *previousEntry = nullptr;
    QAction *nextEntry = nullptr;
    QAction *jump = nullptr;

    // The groups
    QAction *newGroup = nullptr;
    QAction *renameGroup = nullptr;
    QAction *deleteGroup = nullptr;
    QAction *clearTrash = nullptr;
};

// The actions of the window's commands, which must exist.
CommandActions commandActions(const MainWidgets &w);

// What stands for each command whose state follows the selection and the
// modes: its action, a menu's menu action, or (the entry's text) the widget.
using CommandControls = std::array<QObject *, kCmdCount>;
CommandControls commandControls(const MainWidgets &w);
