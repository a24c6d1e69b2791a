#pragma once

#include <array>

// The main window's layout in twips of its client area, apart from any widget:
// the controls' rectangles, the three splitters and the rules that move them.
// The window gathers the client size and the group list's line height, runs
// these procedures and places its widgets from the result.

struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const TwipsRect &) const = default;
};

struct TwipsSize
{
    int width = 0;
    int height = 0;
    bool operator==(const TwipsSize &) const = default;
};

// The group list shows whole lines only: a height is cut down to its border
// and a whole number of lines.
struct ListLines
{
    int lineHeight = 0; // twips; 0 leaves heights as asked
    int border = 0;     // twips, top and bottom together
    int snap(int height) const;
};

// Where the window stands: its client size, the frame around it (outer width
// less client width) and whether the window manager holds its size.
struct WindowFrame
{
    TwipsSize client;
    int frameWidth = 0;
    bool minimized = false;
    bool maximized = false;
};

struct MainLayout
{
    // Design positions until the first layout.
    TwipsRect groupList{60, 120, 2655, 1230};
    TwipsRect rowSplitter{60, 1440, 2895, 45};
    TwipsRect entryList{60, 1560, 2655, 780};
    // The design's bars are 45 twips wide and reach 20 twips under the boxes on
    // their right; only the 25 twips between the columns can be seen and taken.
    std::array<TwipsRect, 2> columnSplitters{{{2975, 120, 25, 10005}, {3840, 120, 25, 10005}}};
    TwipsRect maskText{3000, 120, 825, 2175};
    TwipsRect entryText{3960, 120, 1860, 1815};
    TwipsRect dateLabel{3960, 2280, 1935, 255};
    std::array<TwipsRect, 5> cursorButtons{{{2760, 120, 255, 255},
                                            {2760, 360, 255, 255},
                                            {2760, 1560, 255, 255},
                                            {2760, 1800, 255, 255},
                                            {2760, 2235, 255, 255}}};
    std::array<TwipsRect, 4> orderButtons{{{60, 2235, 300, 255},
                                           {360, 2235, 300, 255},
                                           {660, 2235, 1018, 255},
                                           {1688, 2235, 1038, 255}}};
    // The design frames overlap their neighbours by a border; here they abut.
    std::array<TwipsRect, 3> normalPanels{
        {{60, 2640, 905, 945}, {965, 2640, 895, 945}, {1860, 2640, 1090, 945}}};
    TwipsRect editPanel{60, 2640, 2900, 945};

    bool maskChecked = false;          // viewMaskItem carries its check mark
    bool maskItemEnabled = true;       // viewMaskItem may be used
    bool saveWindowItemEnabled = true; // settingsItems(4): not while maximized

    int lastFrameTop = 0;   // the horizontal splitter position last applied
    int lastGoodHeight = 0; // client height after the last row layout with room
};

// Lays everything out for the window's client size, after the floors: the
// outer width at least the entry list's width + 4500, the client height at
// least 3060, and room for the entry list (else the last good height comes
// back). Returns the client size the window must be given, which is the size
// laid out for; equal to `window.client` when nothing had to change. A
// minimized window is left alone; a maximized one is laid out as it is.
TwipsSize layoutForClient(MainLayout &l, const WindowFrame &window, const ListLines &groupLines);
// The smallest client size the layout as it stands fits, for a frame of
// `frameWidth`: the width floor, and the height floor or the room under the
// entry list where that asks for more. The window is given it as its minimum
// size, so that a window manager stops a drag there; a splitter moved to
// where less room is left makes the window that much higher.
TwipsSize clientFloor(const MainLayout &l, int frameWidth);

// The left column from the top: group list (whole lines), splitter, entry
// list. Returns the client height to go back to when the entry list has no
// room, else `clientHeight`.
int LayoutRows(MainLayout &l, int clientHeight, const ListLines &groupLines);
// Every column from the left, from the two vertical splitters and the mask mark.
void LayoutColumns(MainLayout &l, int clientWidth, int clientHeight);
// The cursor pad beside the two lists.
void LayoutSideButtons(MainLayout &l);

// Splitter drags with the left button; the offsets are the pointer's position
// relative to the bar. True when the splitter moved (and the layout followed).
bool dragRowSplitter(MainLayout &l, int y, int clientHeight, const ListLines &groupLines);
bool dragColumnSplitter(MainLayout &l, int index, int x, int clientWidth, int clientHeight);
// A splitter moved by one key press, `direction` -1 up or left, 1 down or
// right, within the same limits as a drag. The row splitter moves by one line
// of the group list; a column splitter by 120 twips, or as near a limit as a
// drag could take it (within 15 twips, a pixel at 96 DPI). True when it moved.
bool stepRowSplitter(MainLayout &l, int direction, int clientHeight, const ListLines &groupLines);
bool stepColumnSplitter(MainLayout &l, int index, int direction, int clientWidth, int clientHeight);

// Positions of the controls inside the button frames, fixed by the design.
struct PanelLayout
{
    std::array<TwipsRect, 4> individualButtons;
    TwipsRect lockBox;
    std::array<TwipsRect, 2> entryButtons;
    TwipsRect sortButton, hideButton;
    TwipsRect modeLabel;
    std::array<TwipsRect, 3> editButtons;
};
const PanelLayout &panelLayout();
