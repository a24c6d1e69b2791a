#pragma once

struct AppState;
struct MainState;
struct MainWidgets;
class NoteTable;
class Words;

// RefreshCommands on the window: gathers the selection and modes, computes the
// enabled states and puts them on the controls. Memories the validation
// repaired are taken over (in memory only) and their captions rewritten.
void refreshCommands(const MainWidgets &w, const MainState &main, AppState &state,
                     const NoteTable &table, const Words &words);
