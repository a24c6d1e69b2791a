#pragma once

#include "store/outsidechange.h"

#include <QString>

// The main window's own flags that several subsystems share, under the names
// the rest of the program uses. StoreInUse lives in AppState.
struct MainState
{
    bool FileMissing = false; // the selected entry's file cannot be read
    bool TextEditMode = false;
    bool MaskEditMode = false;
    bool SwallowKeyPress = false;
    QString LoadedMask;       // the mask text as loaded with the group
    int TextBoxIndex = 0;     // the entry text box shown: 0 without wrap, 1 with wrap
    QString LastMovePosition; // the fifth position memory: "group/" left by the last move
    FileIdentity ShownEntryFile; // the shown entry's file as read: a save checks it is still that one
};
