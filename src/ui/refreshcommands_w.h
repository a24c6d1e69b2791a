#pragma once

#include "ui/commandactions_w.h"

#include <QObject>

struct AppState;
struct MainState;
class QAction;
class TitleListView;
class NoteTable;

// The enabled state of every command, kept up to date: whenever what it
// depends on changes (the lists' lines or selection, the shown entry, the
// edit mode, the lock, the memories), the states are computed afresh and put
// on the actions. Memories the computation repaired are taken over (in
// memory only) and `memoriesRepaired` is emitted, so their captions can follow.
class CommandRefresh : public QObject
{
    Q_OBJECT
public:
    // What the states are read from: the lock and the two lists.
    struct Inputs
    {
        const QAction *lock;
        const TitleListView *entryList;
        const TitleListView *groupList;
    };
    CommandRefresh(const Inputs &inputs, const CommandControls &controls, const MainState &main,
                   AppState &state, const NoteTable &table, QObject *parent);

public Q_SLOTS:
    void refresh();

Q_SIGNALS:
    void memoriesRepaired();

private:
    // Follows the signals of a list's model that change what the list shows.
    void followModel(const QObject *model);
    CommandInput input() const;

    Inputs inputs_;
    CommandControls controls_;
    const MainState &main_;
    AppState &state_;
    const NoteTable &table_;
};
