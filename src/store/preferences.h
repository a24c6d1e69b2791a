#pragma once

#include <QString>
#include <array>

// Every value of pref.dat, one member per line of the file (line numbers in the
// comments). Numbers are 16-bit in the file; flags hold 0 or 1 once read.
struct Preferences
{
    int language = 0;                      // 2: 0 built-in English, 1..9 Language.dat
    int StartWindowState = 0;              // 3: 0 normal, 1 minimized, 2 maximized, 3 hidden
    int StartLocked = 0;                   // 4
    QString StartGroup;                    // 5
    QString FontName;                      // 7
    int FontSize = 10;                     // 8
    int FontBold = 0;                      // 9
    int SortDescending = 0;                // 10: always written " 0"
    int WindowTop = 0;                     // 12 (twips)
    int WindowLeft = 0;                    // 13
    int WindowHeight = 0;                  // 14
    int WindowWidth = 0;                   // 15
    int StartViewMask = 0;                 // 16
    int FrameTop = 840;                    // 17
    int FrameLeft1 = 2975;                 // 18
    int FrameLeft2 = 3600;                 // 19
    int GroupListWhite = 0;                // 20
    int HideYGroups = 0;                   // 21
    QString StorePath;                     // 22: "preset" or a folder, completed on read
    std::array<QString, 4> PositionMemory; // 23..26
    std::array<QString, 4> PhraseMemory;   // 27..30
    std::array<std::array<QString, 3>, 4> IndivButton; // 31..42: button b, field f on 31+3b+f
    int StartWordwrap = 0;                             // 43

    Preferences();
};
