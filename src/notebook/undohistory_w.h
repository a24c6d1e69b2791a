#pragma once

#include "notebook/revision.h"

#include <QObject>
#include <QString>

#include <functional>

struct MainContext;
struct MainState;
class QAction;
class QUndoStack;

// Where the lists go once a command has been done, undone or redone: the
// group of that stored name (the first line when it is not shown), then its
// entry line `line` (-1: the group's first line, as selecting the group
// shows it); `keepLoaded`: the same entry as before stays shown, not loaded
// again (an edit may be open in it).
struct Place
{
    QString group;
    int line = -1;
    bool keepLoaded = false;
};

// Every notebook command on one QUndoStack: Undo takes the last one back,
// Redo does it again, each through a NotebookChange like any command (the
// same order of file steps, the same reports). Neither runs while the edit
// lock is on (also the lock of a store another copy holds) or an edit is
// open. A step the notebook no longer matches (changed by another program,
// or by a save beside the history) is refused and the history cleared; a
// step that failed on a file stays where it was for another try.
class UndoHistory : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        QAction *undo = nullptr;
        QAction *redo = nullptr;
        QAction *lock = nullptr;
    };
    UndoHistory(const Controls &controls, MainState &main, MainContext &ctx,
                std::function<void(const Place &)> show, QObject *parent);

    // Carries a command out and keeps it for Undo: `done` is where the lists
    // go after a redo, `undone` after an undo (the first time the command's
    // own code moves them). False when it was not done: a step failed
    // (reported), or the notebook was not as the command was computed on.
    bool run(const QString &text, Revision revision, const Place &done, const Place &undone);
    // A command that its own code has carried out (a new entry's first save,
    // an import), kept for Undo.
    void record(const QString &text, Revision revision, const Place &done, const Place &undone);

    void undo();
    void redo();
    // Nothing can be undone or redone any longer (Clear Trash).
    void clear();
    // idx.dat was read again: what the notebook read no longer matches
    // can no longer be undone or redone.
    void tableReread();

    const QUndoStack &stack() const { return *stack_; }

private:
    friend class NotebookCommand;
    Revision::Outcome apply(Revision &revision, bool forward);
    void show(const Place &place);
    void step(bool back);
    bool allowed() const;
    void updateActions();

    const Controls controls_;
    MainState &main_;
    MainContext &ctx_;
    std::function<void(const Place &)> show_;
    QUndoStack *stack_;
    Revision::Outcome outcome_ = Revision::Outcome::Done;
    bool passing_ = false; // moving the stack back over a step that failed
};
