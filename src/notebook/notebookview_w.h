#pragma once

#include "ui/commandactions_w.h"

#include <QString>
#include <QStringList>

class NoteTable;

#include <array>

struct MainContext;
struct MainState;
struct Place;
class EntryList;
class Revision;
class UndoHistory;
class GroupList;
class QAction;
class QMainWindow;
class QPushButton;
class TitleListView;

// The controls of the main window the organizing commands work on.
struct NotebookControls
{
    QMainWindow *window = nullptr; // the parent of the commands' dialogs
    TitleListView *groupList = nullptr;
    TitleListView *entryList = nullptr;
    QAction *lock = nullptr;
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
    // Entries of the selected group.
    int entryCount() const;
    // The selected group's stored name, "" for none.
    QString groupName() const;
    // An entry line is selected (not the closing blank line, not nothing).
    bool onEntry() const;
    // Whether entry `row` of group `slot` has its text file.
    bool hasFile(int slot, int row) const;
    // Line of the group list showing "Trash", -1 when there is none.
    int trashLine() const;
    bool locked() const;
    const QString &storeFolder() const;

    // The lists follow the table after groups came or went; the selection
    // is the caller's.
    void refillGroupList();

    UndoHistory &history() const;
    // A command carried out and kept for Undo (UndoHistory::run); once done,
    // the lists go to `done`. False when it was not done.
    bool run(const QString &text, Revision revision, const Place &done, const Place &undone);
    // The same for a command that only reorders, adds or drops lines of the
    // group in `slot`: its titles become `storedTitles`, with no file step.
    bool runColumn(const QString &text, int slot, const QStringList &storedTitles,
                   const Place &done, const Place &undone);
    // An import (or any change that only added entries and groups) kept for
    // Undo; `before` is the table before it.
    void recordImport(const NoteTable &before);
    // Selects (and loads) a line of the group list, the first when `line` is
    // not shown (a group that went into hiding), none when the list is empty.
    void selectGroupOrFirst(int line);

    // A refusal the user must read: information icon, title word 79.
    void caution(const QString &text);
};
