#pragma once

#include <QModelIndex>
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

    // The commands of the buttons and menu items, on the selected entry.
    // The trash command: the entry goes, and the entry list has the focus.
    void trash();
    // Asks for a new title, the shown one proposed, and gives it.
    void rename();
    // Asks for the group to move the selected entry into, and moves it there.
    void moveToChosenGroup();

    // The commands themselves, on items of the notebook model. The trash
    // command's work: true when the entry has left its group.
    bool trashEntry(const QModelIndex &entry);
    // Gives `entry` the title the user typed as `answer`, unless it is empty,
    // unchanged (`old`) or refused; `text` names the command in the history.
    void renameEntry(const QModelIndex &entry, const QString &answer, const QString &old = {},
                     const QString &text = QStringLiteral("New Title"));
    enum class MoveResult { Moved, Refused, Failed };
    // The move itself: `entry` into `group`.
    MoveResult moveEntry(const QModelIndex &entry, const QModelIndex &group);

private:
    // File, line, table and idx.dat take `newStored`. False, with everything
    // as it was, after a report.
    bool giveTitle(const QModelIndex &entry, const QString &newStored, const QString &text);

    NotebookView &view_;
};
