#pragma once

#include "ui/commandstate_w.h"

#include <functional>

struct AppState;
struct MainState;
class QCheckBox;
class QObject;
class TitleListView;
class NoteTable;

// RefreshCommands on the window, the one entry point every command ends with:
// gathers the selection and modes, computes the enabled states and puts them
// on the controls, which are looked up once. Memories the validation repaired
// are taken over (in memory only) and `memoriesRepaired` runs, so their
// captions can follow.
class CommandRefresh
{
public:
    // What the refresh reads of the window: the lock box and the two lists;
    // `window` holds every item it governs.
    struct Controls
    {
        const QCheckBox *lock;
        const TitleListView *entryList;
        const TitleListView *groupList;
        const QObject *window;
    };
    CommandRefresh(const Controls &controls, const MainState &main, AppState &state,
                   const NoteTable &table);

    void RefreshCommands();
    std::function<void()> memoriesRepaired;

private:
    Controls controls_;
    const MainState &main_;
    AppState &state_;
    const NoteTable &table_;
    CommandControls items_;
};
