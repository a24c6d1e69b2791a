#pragma once

struct MainWidgets;
class QAction;

// The organizing commands of the main window, one action each, by what they
// do. Where a menu item and its button have states of their own (the refresh
// greys them by different rules), there are two actions over one handler: the
// button's, which its keys and drops follow, and the menu item's (`...Item`).
struct CommandActions
{
    // The selected entry
    QAction *trashEntry = nullptr;
    QAction *trashEntryItem = nullptr;
    QAction *renameEntry = nullptr;
    QAction *moveEntryToGroup = nullptr;

    // The order of the group's entries
    QAction *sort = nullptr;
    QAction *sortItem = nullptr;
    QAction *moveUp = nullptr;
    QAction *moveUpItem = nullptr;
    QAction *moveDown = nullptr;
    QAction *moveDownItem = nullptr;
    QAction *indentLeft = nullptr;
    QAction *indentLeftItem = nullptr;
    QAction *indentRight = nullptr;
    QAction *indentRightItem = nullptr;

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

// The actions of the window's menu items and buttons, which must exist.
CommandActions commandActions(const MainWidgets &w);
