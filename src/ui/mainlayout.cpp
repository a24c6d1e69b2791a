#include "ui/mainlayout.h"

#include <algorithm>

namespace {

constexpr int kMinOuterWidthBeyondList = 4500;
constexpr int kMinClientHeight = 3060;
constexpr int kMinEntryRoom = 540;
constexpr int kMaskBesideLists = 2975; // txtMask's left from which the panels stay under the lists
// The buttons under the entry list are as high as the cursor pad's. The design
// leaves them 150 twips above the bottom panels, too little for a button with
// a picture, so the entry list ends higher by the difference.
constexpr int kButtonRow = 255;
constexpr int kButtonRowBeyondDesign = kButtonRow - 150;

} // namespace

int ListLines::snap(int height) const
{
    if (lineHeight <= 0)
        return height;
    // Like a list box with integral height, and never less than one line.
    const int lines = std::max(1, (height - border) / lineHeight);
    return border + lines * lineHeight;
}

TwipsSize Form_Resize(MainLayout &l, const WindowFrame &window, const ListLines &groupLines)
{
    TwipsSize client = window.client;
    if (window.minimized)
        return client;
    if (!window.maximized) {
        const int minOuterWidth = l.lstEntry.width + kMinOuterWidthBeyondList;
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

    l.txtText.height = client.height - 440;
    l.lblDate.top = l.txtText.height + 120;
    for (TwipsRect &frame : l.fraMain)
        frame.top = client.height - 1010;
    l.fraEdit.top = client.height - 1010;
    // A maximized rectangle is no window position to keep.
    l.saveWindowItemEnabled = !window.maximized;
    return client;
}

TwipsSize clientFloor(const MainLayout &l, int frameWidth)
{
    return {l.lstEntry.width + kMinOuterWidthBeyondList - frameWidth,
            std::max(kMinClientHeight, l.lstEntry.top + 940 + kMinEntryRoom)};
}

int LayoutRows(MainLayout &l, int clientHeight, const ListLines &groupLines)
{
    if (l.lstGroup.height + 135 != l.lblSizeH.top) {
        // The list takes the height under the asked place and snaps it down to
        // whole lines; the bar then sits 15 twips under the list's real bottom.
        l.lstGroup.height = groupLines.snap(l.lblSizeH.top + 135);
        l.lastFrameTop = l.lblSizeH.top;
        l.lblSizeH.top = l.lstGroup.height + 135;
    }
    l.lstEntry.top = l.lstGroup.height + 180;

    int height = clientHeight;
    const int room = clientHeight - l.lstEntry.top - 940;
    if (room >= kMinEntryRoom)
        l.lstEntry.height = room - 220 - kButtonRowBeyondDesign;
    else if (l.lastGoodHeight > 0)
        height = l.lastGoodHeight; // the entry list keeps its height
    l.lastGoodHeight = height;

    for (TwipsRect &button : l.cmdH) {
        button.top = l.lstEntry.bottom();
        button.height = kButtonRow;
    }
    l.cmdCRSR[4].height = kButtonRow;
    LayoutSideButtons(l);
    return height;
}

void LayoutColumns(MainLayout &l, int clientWidth, int clientHeight)
{
    const int left0 = l.lblSizeV[0].left;
    const int left1 = l.lblSizeV[1].left;
    // With the list column this narrow the bottom panels reach under the mask
    // column: the mask stays shown, above them. Decided first, so the text
    // box is laid out beside the mask it will have.
    const bool maskBesideLists = left0 + 25 >= kMaskBesideLists;
    if (!maskBesideLists)
        l.maskChecked = true;

    const int k = l.maskChecked ? 1 : 0;
    l.txtText.left = l.lblSizeV[k].left + 25;
    l.lblDate.left = l.txtText.left;
    const int maskWidth = l.maskChecked ? left1 - left0 : 0;
    l.txtText.width = (clientWidth - 3050) - maskWidth - (left0 - 2975);
    l.lblDate.width = l.txtText.width;

    l.lstGroup.width = left0 - 60 - 275;
    l.lstEntry.width = l.lstGroup.width;
    l.lblSizeH.width = left0 - 60;
    for (TwipsRect &button : l.cmdCRSR)
        button.left = l.lstGroup.width + 80;
    LayoutSideButtons(l);

    l.cmdH[3].left = l.lstEntry.width / 2 + l.cmdH[0].width + 60;
    l.cmdH[2].width = l.lstEntry.width / 2 - l.cmdH[0].width - 10;
    l.cmdH[3].width = l.cmdH[2].width + 20;

    l.txtMask.left = left0 + 25;
    l.txtMask.width = left1 - left0 - 30;
    l.txtMask.height = clientHeight - (maskBesideLists ? 185 : 1140);
    l.maskItemEnabled = maskBesideLists;

    // The bars reach to the bottom, whatever the window's height.
    for (TwipsRect &bar : l.lblSizeV)
        bar.height = std::max(clientHeight - bar.top, 0);
}

void LayoutSideButtons(MainLayout &l)
{
    std::array<TwipsRect, 5> &pad = l.cmdCRSR;
    pad[1].top = l.lstGroup.height / 2 + 120;
    pad[2].top = l.lstEntry.top;
    pad[3].top = l.lstEntry.top + l.lstEntry.height / 2;
    pad[4].top = l.lstEntry.bottom();
    pad[0].height = l.lstGroup.height / 2;
    pad[1].height = pad[0].height;
    pad[2].height = l.lstEntry.height / 2;
    pad[3].height = pad[2].height;
}

bool lblSizeH_MouseMove(MainLayout &l, int y, int clientHeight, const ListLines &groupLines)
{
    const int newTop = l.lblSizeH.top + y;
    if (newTop == l.lastFrameTop)
        return false;
    if (newTop <= 600 || newTop >= clientHeight - 1750)
        return false;
    l.lblSizeH.top = newTop;
    LayoutRows(l, clientHeight, groupLines);
    return true;
}

bool lblSizeV_MouseMove(MainLayout &l, int index, int x, int clientWidth, int clientHeight)
{
    if (x == 0)
        return false;
    // The entry text keeps at least 1200 twips, unless the splitter moves left.
    const bool textRoom = l.txtText.width > 1200 || x < 0;
    if (index == 0) {
        const int newLeft = l.lblSizeV[0].left + x;
        const bool listRoom = l.maskChecked ? newLeft > 1860 : newLeft > 3000;
        if (!listRoom || l.lblSizeV[1].left + x <= 2965 || !textRoom)
            return false;
        // Both splitters move: the mask keeps its width.
        l.lblSizeV[0].left = newLeft;
        l.lblSizeV[1].left += x;
    } else {
        const int newLeft = l.lblSizeV[1].left + x;
        if (newLeft <= 2965 || newLeft <= l.lblSizeV[0].left + 600 || !textRoom)
            return false;
        l.lblSizeV[1].left = newLeft;
    }
    LayoutColumns(l, clientWidth, clientHeight);
    return true;
}

const PanelLayout &panelLayout()
{
    static const PanelLayout panels = [] {
        PanelLayout p;
        for (int i = 0; i < 4; ++i)
            p.cmdIndiv[i] = {90 + 200 * i, 120, 180, 315};
        p.chckEdit = {90, 500, 780, 340};
        p.cmdEntry[0] = {90, 100, 715, 340};
        p.cmdEntry[1] = {90, 500, 715, 340};
        p.cmdSort0 = {90, 100, 910, 340};
        p.cmdMain = {90, 500, 910, 340};
        p.lblMode = {120, 100, 2660, 340};
        p.cmdEdit[0] = {120, 500, 750, 340};
        p.cmdEdit[2] = {960, 500, 750, 340};
        p.cmdEdit[1] = {1800, 500, 930, 340};
        return p;
    }();
    return panels;
}
