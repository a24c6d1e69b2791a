#pragma once

#include "ui/commandstate_w.h"

#include <functional>

struct AppState;
struct MainState;
struct MainWidgets;
class NoteTable;

// RefreshCommands on the window, the one entry point every command ends with:
// gathers the selection and modes, computes the enabled states and puts them
// on the controls, which are looked up once. Memories the validation repaired
// are taken over (in memory only) and `memoriesRepaired` runs, so their
// captions can follow.
class CommandRefresh
{
public:
    CommandRefresh(const MainWidgets &w, const MainState &main, AppState &state,
                   const NoteTable &table);

    void RefreshCommands();
    std::function<void()> memoriesRepaired;

private:
    const MainWidgets &w_;
    const MainState &main_;
    AppState &state_;
    const NoteTable &table_;
    CommandControls controls_;
};
