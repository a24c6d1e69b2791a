#pragma once

#include <QModelIndex>
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

    // The entry list gets the focus and the command runs.
    void sort();
    void moveSelectedUp();
    void moveSelectedDown();
    // The title gains a leading "_" (right) or loses it (left).
    void indentRight();
    void indentLeft();
    // The cursor pad beside the lists and the arrow keys: the neighbour group
    // or entry gets the selection and its list the focus; the jump goes to
    // the closing line and back to the first.
    void previousGroup();
    void nextGroup();
    void previousEntry();
    void nextEntry();
    // The next entry, and the list pages once the selection reaches its foot.
    void nextEntryPaging();
    void jump();
    // `entry` (an item of the notebook model) moves to line `target` of its
    // group (one place up or down, or where a drag dropped it): one idx.dat
    // write.
    void moveEntryTo(const QModelIndex &entry, int target);

private:
    void bindKeys(KeyHandlers &keys);
    void sortEntries();
    int firstVisibleEntryLine() const;
    void selectGroupLine(int line);

    NotebookView &view_;
    EntryCommands &entryCommands_;
    int lastFirstVisible_ = 0; // the cursor pad's memory of the list's scroll position
};
