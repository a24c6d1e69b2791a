#pragma once

#include <QObject>

#include <chrono>
#include <optional>
#include <utility>

class NoteTable;
class NotebookView;

// The Group menu: new, rename, delete, Clear Trash. A group is a table row, a
// line of the sorted group list and a folder; each command changes the folder
// first, then the rows (slot order stays list order) and idx.dat, and leaves
// all three as they were when a step fails.
class GroupCommands : public QObject
{
    Q_OBJECT
public:
    GroupCommands(NotebookView &view, QObject *parent);

    void newGroup();
    void renameGroup();
    void deleteGroup();
    void clearTrash();

    // How long Clear Trash shows the trash group's list before its entries
    // go (a second); tests that do not look at it set no wait at all.
    void setClearTrashWait(std::chrono::milliseconds wait) { clearTrashWait_ = wait; }

private:
    // Asks for a group name; the answer when there is one to go on with.
    QString askGroupName(int promptWord, const QString &proposed);
    // The name made unique, or empty after the message of a refused name.
    QString uniqueAcceptedName(const QString &answer);
    // Puts the only entry of the group in `slot` into the trash of `after` as
    // part of the group's deletion: its stored title, and the one it has in
    // the trash ("" for an entry without a file, which simply goes).
    // Nothing after a refusal's message.
    std::optional<std::pair<QString, QString>> keepLastEntry(NoteTable &after, int slot);
    // Clear Trash deletes for good: asked first, naming how many entries.
    bool confirmClearTrash(int count);
    // Lets the trash group's list be drawn before its entries go.
    void waitBeforeClearing();

    NotebookView &view_;
    bool clearingTrash_ = false;
    std::chrono::milliseconds clearTrashWait_{1000};
};
