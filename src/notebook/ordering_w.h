#pragma once

#include <QObject>

class EntryCommands;
class ListKeys;
class NotebookView;

// The order of a group's entries: one place up and down, the sort, the
// indents (through the title command), the cursor pad beside the lists, the
// group list's own arrow keys and the entry list keys of these commands.
class Ordering : public QObject
{
    Q_OBJECT
public:
    Ordering(NotebookView &view, EntryCommands &entryCommands, ListKeys &listKeys, QObject *parent);

    // 0 sort, 1 one place up, 2 one place down.
    void cmdSort_Click(int index);
    // 0 right, 1 left.
    void mnuIndent_Click(int index);
    void mnuSort_Click(int index);
    void cmdH_Click(int index);
    void cmdCRSR_Click(int index);
    // Up and Down of the group list; every other key goes on to the entry
    // list's dispatcher. True when the key was consumed.
    bool lstGroup_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The entry list keys these commands live on (Left, Right, Up and Down
    // with a modifier, Down, Delete, F12).
    bool entryListKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveSelectedLine(int step);
    void sortEntries();
    int firstVisibleEntryLine() const;

    NotebookView &view_;
    EntryCommands &entryCommands_;
    ListKeys &listKeys_;
    int lastFirstVisible_ = 0; // the cursor pad's memory of the list's scroll position
};
