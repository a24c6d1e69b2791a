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

    // The trash command from its button or menu item: the entry goes, and the
    // entry list has the focus.
    void trash();
    // The trash command's work: true when the entry has left its group.
    bool trashSelectedEntry();
    // Asks for a new title, the shown one proposed, and gives it.
    void rename();
    // Gives the selected entry the title the user typed as `answer`, unless it
    // is empty, unchanged (`old`) or refused; `text` names the command in the
    // history.
    void renameTo(const QString &answer, const QString &old = {},
                  const QString &text = QStringLiteral("New Title"));
    // Asks for the group to move the selected entry into, and moves it there.
    void moveToChosenGroup();

    enum class MoveResult { Moved, Refused, Failed };
    // The move itself, into the group on line `targetLine` of the group list.
    MoveResult moveSelectedEntry(int targetLine);

private:
    // File, line, table and idx.dat take `newStored`. False, with everything
    // as it was, after a report.
    bool renameSelectedEntry(const QString &newStored, const QString &text);

    NotebookView &view_;
};
