#pragma once

#include "store/preferences.h"

#include <QString>
#include <array>

// The program-wide values shared by the windows and commands, each under the
// name the rest of the program uses. One instance, owned by the application.
struct AppState
{
    QString ProgramVersion = QStringLiteral("1.3.02");
    QString programFolder; // ends in "/"
    QString storeFolder;   // ends in "/"

    bool ErrorShown = false;    // an error report cancelled a procedure in the last 500 ms
    bool FilesWritten = false;  // Save_pref or Save_idx ran since last cleared
    bool StoreFallback = false; // idx.dat came from the program folder's store
    bool StoreInUse = false;    // another copy holds the store marker

    int TextBoxIndex = 0;               // 0 entry text box without wrap, 1 with wrap
    std::array<int, 6> SearchOptions{}; // search dialog option states
    QString LastSearchText;             // the search text when the dialog was last closed
    QString LastMovePosition;           // PositionMemory(4): group left by the last move

    Preferences prefs;

    bool hideYGroups() const { return prefs.HideYGroups != 0; }
    int language() const { return prefs.language; }
};
