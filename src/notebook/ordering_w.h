#pragma once

#include <QObject>

class EntryCommands;
class KeyHandlers;
class NotebookView;

// The order of a group's entries: one place up and down, the sort, the
// indents (through the title command), the cursor pad beside the lists, the
// group list's own arrow keys and the entry list keys of these commands.
class Ordering : public QObject
{
    Q_OBJECT
public:
    Ordering(NotebookView &view, EntryCommands &entryCommands, KeyHandlers &keys, QObject *parent);

    // 0 sort, 1 one place up, 2 one place down.
    void cmdSort_Click(int index);
    // 0 right, 1 left.
    void mnuIndent_Click(int index);
    void mnuSort_Click(int index);
    void cmdH_Click(int index);
    void cmdCRSR_Click(int index);
    // The selected entry moves to line `target` of its group (one place up or
    // down, or where a drag dropped it): one idx.dat write.
    void moveSelectedLineTo(int target);

private:
    void bindKeys(KeyHandlers &keys);
    void sortEntries();
    int firstVisibleEntryLine() const;

    NotebookView &view_;
    EntryCommands &entryCommands_;
    KeyHandlers &keys_;
    int lastFirstVisible_ = 0; // the cursor pad's memory of the list's scroll position
};
