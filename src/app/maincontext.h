#pragma once

#include <functional>

struct AppState;
class ErrorReport;
class Messages;
class NoteTable;
class Store;
class Words;

// What the main window and its subsystems share with the application. Ending
// the program goes through `endProgram`, so a test can see the exit status.
struct MainContext
{
    AppState &state;
    NoteTable &table;
    const Words &words;
    Messages &messages;
    ErrorReport &reports;
    Store &store;
    std::function<void(int status)> endProgram;
};
