#pragma once

#include "ui/commandactions_w.h"

#include <QString>
#include <QStringList>

#include <array>

struct MainContext;
struct MainState;
class EntryList;
class GroupList;
class QCheckBox;
class QMainWindow;
class QPushButton;
class TitleListView;

// The controls of the main window the organizing commands work on.
struct NotebookControls
{
    QMainWindow *window = nullptr; // the parent of the commands' dialogs
    TitleListView *groupList = nullptr;
    TitleListView *entryList = nullptr;
    QCheckBox *lock = nullptr;
    QPushButton *trashButton = nullptr;              // takes dropped entries
    std::array<QPushButton *, 2> indentButtons = {}; // a click hands the focus back
    CommandActions actions;
};

// What the organizing commands share: their controls and actions, the flags, the
// notebook, the group map and the list loads, with the few questions every
// command asks about the selection and the ways every command reports.
class NotebookView
{
public:
    NotebookView(const NotebookControls &controls, MainState &main, MainContext &ctx,
                 GroupList &groups, EntryList &entries);
    // `actions` refers into `controls`: one view, never copied.
    NotebookView(const NotebookView &) = delete;
    NotebookView &operator=(const NotebookView &) = delete;

    const NotebookControls controls;
    const CommandActions &actions = controls.actions;
    MainState &main;
    MainContext &ctx;
    GroupList &groups;
    EntryList &entries;

    int groupLine() const;
    // Group slot of the selected line, -1 for none.
    int groupSlot() const;
    int entryLine() const;
    // Lines of entryList, the closing blank line included.
    int entryLineCount() const;
    // An entry line is selected (not the closing blank line, not nothing).
    bool onEntry() const;
    // Line of the group list showing "Trash", -1 when there is none.
    int trashLine() const;
    bool locked() const;
    const QString &storeFolder() const;

    // FillGroupList after rows moved; the selection is the caller's.
    void refillGroupList();
    // Selects (and loads) a line of the group list, the first when `line` is
    // not shown (a group that went into hiding), none when the list is empty.
    void selectGroupOrFirst(int line);

    // A refusal the user must read: information icon, title word 79.
    void caution(const QString &text);
};
