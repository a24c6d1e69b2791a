#include "ui/mainlayout.h"

#include <algorithm>

namespace {

constexpr int kMargin = 60;       // left edge of the list column
constexpr int kTop = 120;         // top of lists and text boxes
constexpr int kBar = 45;          // thickness of the horizontal splitter bar
constexpr int kVBar = 25;         // visible part of a vertical splitter bar
constexpr int kSide = 255;        // width of the cursor pad
constexpr int kPanelHeight = 945; // bottom button frames
constexpr int kPanelFromBottom = 1010;
constexpr int kButtonRow = 255; // height of the row under the entry list
constexpr int kListToPanel =
    kPanelFromBottom + 15 + kButtonRow; // entry list bottom above the client bottom
constexpr int kIndentButton = 300;      // width of cmdH(0) and cmdH(1)

int atLeast0(int v)
{
    return std::max(v, 0);
}

void layoutRows(const LayoutInput &in, MainLayout &out)
{
    const int listWidth = atLeast0(in.frameLeft1 - kMargin - 275);
    out.lstGroup = {kMargin, kTop, listWidth, atLeast0(in.frameTop - 15 - kTop)};
    out.lblSizeH = {kMargin, in.frameTop, atLeast0(in.frameLeft1 - kMargin), kBar};
    const int entryTop = in.frameTop + kBar;
    out.lstEntry = {kMargin, entryTop, listWidth,
                    atLeast0(in.clientHeight - kListToPanel - entryTop)};

    // The row under the entry list: indent left, indent right, up, down. The
    // two move buttons share the rest of the list's width.
    const int buttonsTop = out.lstEntry.bottom();
    const int buttonsHeight =
        atLeast0(std::min(kButtonRow, in.clientHeight - kPanelFromBottom - buttonsTop));
    const int moveWidth = atLeast0(listWidth / 2 - kIndentButton - 10);
    out.cmdH[0] = {kMargin, buttonsTop, kIndentButton, buttonsHeight};
    out.cmdH[1] = {kMargin + kIndentButton, buttonsTop, kIndentButton, buttonsHeight};
    out.cmdH[2] = {kMargin + 2 * kIndentButton, buttonsTop, moveWidth, buttonsHeight};
    out.cmdH[3] = {listWidth / 2 + kIndentButton + kMargin, buttonsTop,
                   atLeast0(listWidth - listWidth / 2 - kIndentButton - 10), buttonsHeight};

    const int padLeft = listWidth + 80;
    const int groupHalf = out.lstGroup.height / 2;
    const int entryHalf = out.lstEntry.height / 2;
    out.cmdCRSR[0] = {padLeft, kTop, kSide, groupHalf};
    out.cmdCRSR[1] = {padLeft, kTop + groupHalf, kSide, groupHalf};
    out.cmdCRSR[2] = {padLeft, entryTop, kSide, entryHalf};
    out.cmdCRSR[3] = {padLeft, entryTop + entryHalf, kSide, entryHalf};
    out.cmdCRSR[4] = {padLeft, buttonsTop, kSide, buttonsHeight};

    const int panelTop = in.clientHeight - kPanelFromBottom;
    // The design frames overlap their neighbours by a border; here they abut.
    out.fraMain[0] = {kMargin, panelTop, 905, kPanelHeight};
    out.fraMain[1] = {965, panelTop, 895, kPanelHeight};
    out.fraMain[2] = {1860, panelTop, 1090, kPanelHeight};
    out.fraEdit = {kMargin, panelTop, 2900, kPanelHeight};
}

void layoutColumns(const LayoutInput &in, MainLayout &out)
{
    const int left1 = in.frameLeft1;
    const int left2 = in.frameLeft2;
    const int maskWidth = left2 - left1 - 30;
    const bool maskBesideLists = left1 + 25 >= 2975;

    out.maskItemEnabled = maskBesideLists;
    // With the list column too narrow the bottom frames reach under the mask,
    // which then stays shown and stops above them.
    out.maskShown = in.maskChecked || !maskBesideLists;
    out.txtMask = {left1 + 25, kTop, atLeast0(maskWidth),
                   atLeast0(in.clientHeight - (maskBesideLists ? 185 : 1140))};

    const int textLeft = (out.maskShown ? left2 : left1) + 25;
    const int shownMask = out.maskShown ? left2 - left1 : 0;
    const int textWidth = atLeast0(in.clientWidth - 3050 - shownMask - (left1 - 2975));
    const int textHeight = atLeast0(in.clientHeight - 440);
    out.txtText = {textLeft, kTop, textWidth, textHeight};
    out.lblDate = {textLeft, textHeight + kTop, textWidth, 255};

    out.lblSizeV[0] = {left1, kTop, kVBar, atLeast0(in.clientHeight - kTop)};
    out.lblSizeV[1] = {left2, kTop, kVBar, atLeast0(in.clientHeight - kTop)};
}

} // namespace

MainLayout computeMainLayout(const LayoutInput &in)
{
    MainLayout out;
    layoutRows(in, out);
    layoutColumns(in, out);
    return out;
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
