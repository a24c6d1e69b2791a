#pragma once

#include <QString>
#include <QStringList>

struct MainContext;
struct MainState;
struct MainWidgets;
class EntryList;
class GroupList;

// What the organizing commands share: the window's controls and flags, the
// notebook, the group map and the list loads, with the few questions every
// command asks about the selection and the ways every command reports.
class NotebookView
{
public:
    NotebookView(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
                 EntryList &entries);

    const MainWidgets &w;
    MainState &main;
    MainContext &ctx;
    GroupList &groups;
    EntryList &entries;

    int groupLine() const;
    // Group slot of the selected line, -1 for none.
    int groupSlot() const;
    int entryLine() const;
    // Lines of lstEntry, the closing blank line included.
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
