#include "ui/mainlayout.h"

#include <algorithm>

namespace {

constexpr int kMinOuterWidthBeyondList = 4500;
constexpr int kMinClientHeight = 3060;
constexpr int kMinEntryRoom = 540;
constexpr int kMaskBesideLists = 2975; // maskText's left from which the panels stay under the lists
// The buttons under the entry list are as high as the cursor pad's. The design
// leaves them 150 twips above the bottom panels, too little for a button with
// a picture, so the entry list ends higher by the difference.
constexpr int kButtonRow = 255;
constexpr int kButtonRowBeyondDesign = kButtonRow - 150;
// A key moves a column splitter this far, and the row splitter this far when
// the group list has no whole lines to snap to.
constexpr int kKeyStep = 120;
constexpr int kSmallestKeyStep = 15;
// The bar lands this far below the place a drag asks for, the list's 135
// twips and its own (LayoutRows).
constexpr int kBarBelowAsked = 270;

} // namespace

int ListLines::snap(int height) const
{
    if (lineHeight <= 0)
        return height;
    // Like a list box with integral height, and never less than one line.
    const int lines = std::max(1, (height - border) / lineHeight);
    return border + lines * lineHeight;
}

TwipsSize layoutForClient(MainLayout &l, const WindowFrame &window, const ListLines &groupLines)
{
    TwipsSize client = window.client;
    if (window.minimized)
        return client;
    if (!window.maximized) {
        const int minOuterWidth = l.entryList.width + kMinOuterWidthBeyondList;
        if (client.width + window.frameWidth < minOuterWidth)
            client.width = minOuterWidth - window.frameWidth;
        client.height = std::max(client.height, kMinClientHeight);
    }

    const int goodHeight = LayoutRows(l, client.height, groupLines);
    if (window.maximized) {
        // The window manager holds a maximized window's size: lay out as it is.
        l.lastGoodHeight = client.height;
    } else if (goodHeight != client.height) {
        client.height = goodHeight;
        LayoutRows(l, client.height, groupLines);
    }
    LayoutColumns(l, client.width, client.height);

    l.entryText.height = client.height - 440;
    l.dateLabel.top = l.entryText.height + 120;
    for (TwipsRect &frame : l.normalPanels)
        frame.top = client.height - 1010;
    l.editPanel.top = client.height - 1010;
    // A maximized rectangle is no window position to keep.
    l.saveWindowItemEnabled = !window.maximized;
    return client;
}

TwipsSize clientFloor(const MainLayout &l, int frameWidth)
{
    return {l.entryList.width + kMinOuterWidthBeyondList - frameWidth,
            std::max(kMinClientHeight, l.entryList.top + 940 + kMinEntryRoom)};
}

int LayoutRows(MainLayout &l, int clientHeight, const ListLines &groupLines)
{
    if (l.groupList.height + 135 != l.rowSplitter.top) {
        // The list takes the height under the asked place and snaps it down to
        // whole lines; the bar then sits 15 twips under the list's real bottom.
        l.groupList.height = groupLines.snap(l.rowSplitter.top + 135);
        l.lastFrameTop = l.rowSplitter.top;
        l.rowSplitter.top = l.groupList.height + 135;
    }
    l.entryList.top = l.groupList.height + 180;

    int height = clientHeight;
    const int room = clientHeight - l.entryList.top - 940;
    if (room >= kMinEntryRoom)
        l.entryList.height = room - 220 - kButtonRowBeyondDesign;
    else if (l.lastGoodHeight > 0)
        height = l.lastGoodHeight; // the entry list keeps its height
    l.lastGoodHeight = height;

    for (TwipsRect &button : l.orderButtons) {
        button.top = l.entryList.bottom();
        button.height = kButtonRow;
    }
    l.cursorButtons[4].height = kButtonRow;
    LayoutSideButtons(l);
    return height;
}

void LayoutColumns(MainLayout &l, int clientWidth, int clientHeight)
{
    const int left0 = l.columnSplitters[0].left;
    const int left1 = l.columnSplitters[1].left;
    // With the list column this narrow the bottom panels reach under the mask
    // column: the mask stays shown, above them. Decided first, so the text
    // box is laid out beside the mask it will have.
    const bool maskBesideLists = left0 + 25 >= kMaskBesideLists;
    if (!maskBesideLists)
        l.maskChecked = true;

    const int k = l.maskChecked ? 1 : 0;
    l.entryText.left = l.columnSplitters[k].left + 25;
    l.dateLabel.left = l.entryText.left;
    const int maskWidth = l.maskChecked ? left1 - left0 : 0;
    l.entryText.width = (clientWidth - 3050) - maskWidth - (left0 - 2975);
    l.dateLabel.width = l.entryText.width;

    l.groupList.width = left0 - 60 - 275;
    l.entryList.width = l.groupList.width;
    l.rowSplitter.width = left0 - 60;
    for (TwipsRect &button : l.cursorButtons)
        button.left = l.groupList.width + 80;
    LayoutSideButtons(l);

    l.orderButtons[3].left = l.entryList.width / 2 + l.orderButtons[0].width + 60;
    l.orderButtons[2].width = l.entryList.width / 2 - l.orderButtons[0].width - 10;
    l.orderButtons[3].width = l.orderButtons[2].width + 20;

    l.maskText.left = left0 + 25;
    l.maskText.width = left1 - left0 - 30;
    l.maskText.height = clientHeight - (maskBesideLists ? 185 : 1140);
    l.maskItemEnabled = maskBesideLists;

    // The bars reach to the bottom, whatever the window's height.
    for (TwipsRect &bar : l.columnSplitters)
        bar.height = std::max(clientHeight - bar.top, 0);
}

void LayoutSideButtons(MainLayout &l)
{
    std::array<TwipsRect, 5> &pad = l.cursorButtons;
    pad[1].top = l.groupList.height / 2 + 120;
    pad[2].top = l.entryList.top;
    pad[3].top = l.entryList.top + l.entryList.height / 2;
    pad[4].top = l.entryList.bottom();
    pad[0].height = l.groupList.height / 2;
    pad[1].height = pad[0].height;
    pad[2].height = l.entryList.height / 2;
    pad[3].height = pad[2].height;
}

bool dragRowSplitter(MainLayout &l, int y, int clientHeight, const ListLines &groupLines)
{
    const int newTop = l.rowSplitter.top + y;
    if (newTop == l.lastFrameTop)
        return false;
    if (newTop <= 600 || newTop >= clientHeight - 1750)
        return false;
    l.rowSplitter.top = newTop;
    LayoutRows(l, clientHeight, groupLines);
    return true;
}

bool dragColumnSplitter(MainLayout &l, int index, int x, int clientWidth, int clientHeight)
{
    if (x == 0)
        return false;
    // The entry text keeps at least 1200 twips, unless the splitter moves left.
    const bool textRoom = l.entryText.width > 1200 || x < 0;
    if (index == 0) {
        const int newLeft = l.columnSplitters[0].left + x;
        const bool listRoom = l.maskChecked ? newLeft > 1860 : newLeft > 3000;
        if (!listRoom || l.columnSplitters[1].left + x <= 2965 || !textRoom)
            return false;
        // Both splitters move: the mask keeps its width.
        l.columnSplitters[0].left = newLeft;
        l.columnSplitters[1].left += x;
    } else {
        const int newLeft = l.columnSplitters[1].left + x;
        if (newLeft <= 2965 || newLeft <= l.columnSplitters[0].left + 600 || !textRoom)
            return false;
        l.columnSplitters[1].left = newLeft;
    }
    LayoutColumns(l, clientWidth, clientHeight);
    return true;
}

bool stepRowSplitter(MainLayout &l, int direction, int clientHeight, const ListLines &groupLines)
{
    // The place asked for is the one nearest the bar that gives the list one
    // line more (where it would end with it) or one less (a twip above where
    // it ends now), less the distance the bar lands below what is asked: the
    // smallest move a drag can make, and as near the limits as a drag gets.
    int y = direction * kKeyStep - kBarBelowAsked;
    if (groupLines.lineHeight > 0)
        y = direction > 0 ? groupLines.lineHeight - kBarBelowAsked : -kBarBelowAsked - 1;
    return dragRowSplitter(l, y, clientHeight, groupLines);
}

bool stepColumnSplitter(MainLayout &l, int index, int direction, int clientWidth, int clientHeight)
{
    for (int step = kKeyStep; step >= kSmallestKeyStep; step /= 2) {
        if (dragColumnSplitter(l, index, direction * step, clientWidth, clientHeight))
            return true;
    }
    return false;
}

const PanelLayout &panelLayout()
{
    static const PanelLayout panels = [] {
        PanelLayout p;
        for (int i = 0; i < 4; ++i)
            p.individualButtons[i] = {90 + 200 * i, 120, 180, 315};
        p.lockBox = {90, 500, 780, 340};
        p.entryButtons[0] = {90, 100, 715, 340};
        p.entryButtons[1] = {90, 500, 715, 340};
        p.sortButton = {90, 100, 910, 340};
        p.hideButton = {90, 500, 910, 340};
        p.modeLabel = {120, 100, 2660, 340};
        p.editButtons[0] = {120, 500, 750, 340};
        p.editButtons[2] = {960, 500, 750, 340};
        p.editButtons[1] = {1800, 500, 930, 340};
        return p;
    }();
    return panels;
}
