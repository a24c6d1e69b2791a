#pragma once

#include "store/outsidechange.h"
#include "ui/editstate.h"

#include <QString>

// The main window's own flags that several subsystems share, under the names
// the rest of the program uses. StoreInUse lives in AppState.
struct MainState
{
    bool FileMissing = false; // the selected entry's file cannot be read
    EditState edit;           // viewing, text edit mode or mask edit mode
    bool SwallowKeyPress = false;
    QString LoadedMask;       // the mask text as loaded with the group
    QString LastMovePosition; // the fifth position memory: "group/" left by the last move
    FileIdentity
        ShownEntryFile; // the shown entry's file as read: a save checks it is still that one
};
