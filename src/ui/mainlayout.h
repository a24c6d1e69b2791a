#pragma once

#include <array>

// Where the main window's controls go, in twips of the client area, from the
// client size and the three splitter positions.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

struct LayoutInput
{
    int clientWidth = 0;
    int clientHeight = 0;
    int frameTop = 1440;   // top of lblSizeH
    int frameLeft1 = 2975; // left of lblSizeV(0)
    int frameLeft2 = 3840; // left of lblSizeV(1)
    bool maskChecked = false;
};

struct MainLayout
{
    TwipsRect lstGroup, lblSizeH, lstEntry, txtMask, txtText, lblDate, fraEdit;
    std::array<TwipsRect, 2> lblSizeV;
    std::array<TwipsRect, 5> cmdCRSR;
    std::array<TwipsRect, 4> cmdH;
    std::array<TwipsRect, 3> fraMain;
    bool maskShown = false;      // txtMask visible
    bool maskItemEnabled = true; // mnuViewMask may be used
};

// Positions of the controls inside the button frames, fixed by the design.
struct PanelLayout
{
    std::array<TwipsRect, 4> cmdIndiv;
    TwipsRect chckEdit;
    std::array<TwipsRect, 2> cmdEntry;
    TwipsRect cmdSort0, cmdMain;
    TwipsRect lblMode;
    std::array<TwipsRect, 3> cmdEdit;
};

MainLayout computeMainLayout(const LayoutInput &in);
const PanelLayout &panelLayout();
