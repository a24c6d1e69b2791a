#pragma once

#include "store/notebookchange.h"

#include <functional>

struct AppState;
class DesktopServices;
class ErrorReports;
class Messages;
class NoteTable;
class Store;
class WordTable;
class Words;

// What the main window and its subsystems share with the application. Ending
// the program goes through `endProgram`, so a test can see the exit status.
struct MainContext
{
    AppState &state;
    NoteTable &table;
    const Words &words;
    // The words of every language; only the language editor changes them.
    WordTable &wordTable;
    Messages &messages;
    ErrorReports &reports;
    Store &store;
    // Files and addresses opened on the desktop, the restart (replaced by tests).
    DesktopServices &desktop;
    std::function<void(int status)> endProgram;
    // Runs once a change of the table is in idx.dat (set by the lists, which follow it).
    std::function<void()> tableChanged;

    // The one way a command changes the notebook (see NotebookChange).
    NotebookChange change() const { return NotebookChange(store, table, reports, tableChanged); }
};
