#pragma once

#include "store/preferences.h"

#include <QString>

// What the program knows of itself below the windows: its version, its two
// folders, the preferences, and whether the store is its own. One instance,
// owned by the application. The window's own state lives above, in MainState
// and in the classes that use it.
struct AppState
{
    QString ProgramVersion = QStringLiteral("1.3.02");
    QString programFolder; // ends in "/"
    QString storeFolder;   // ends in "/"

    bool StoreFallback = false; // idx.dat came from the program folder's store
    bool StoreInUse = false;    // another copy holds the store marker

    Preferences prefs;

    bool hideYGroups() const { return prefs.HideYGroups != 0; }
    int language() const { return prefs.language; }
};
