#pragma once

#include <QObject>

class NotebookView;

// The commands on the selected entry: into the trash, a new title, a move to
// another group. Each keeps the list lines, the group's table column, idx.dat
// and the entry's text file in step, and changes nothing when a step fails.
class EntryCommands : public QObject
{
    Q_OBJECT
public:
    EntryCommands(NotebookView &view, QObject *parent);

    // 1: into the trash. 0, the new entry, is the editing side's.
    void cmdEntry_Click(int index);
    // The trash command's work: true when the entry has left its group.
    bool trashSelectedEntry();
    void mnuEntryRename_Click();
    void mnuEntryChange_Click();
    // Gives the selected entry the title in InputAnswer: file, line, table
    // and idx.dat. False, with everything as it was, after a report.
    bool RenameSelectedEntry();

    enum class MoveResult { Moved, Refused, Failed };
    // The move itself, into the group on line `targetLine` of the group list.
    MoveResult moveSelectedEntry(int targetLine);

private:
    // Takes the moved entry's line out of the list, whose group column
    // already lost it, and selects the line that took its place.
    void dropSelectedLine();

    NotebookView &view_;
};
