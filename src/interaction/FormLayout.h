// SPDX-License-Identifier: GPL-3.0-or-later
// Positions and sizes of the main window's controls, and the rules that fit them to the
// window's size. Everything is in twips: 1440 to the inch, 15 to a screen pixel at 96 dpi.
//
// The plot keeps its top left corner and grows right and down with the window; the
// magnitude scale follows the plot's right edge; the button frame, progress bar, status bar
// and credit line keep their distances from the bottom; the start-up items stay centred.
// Example: a window 9330 x 5895 twips gives a plot of 8415 x 2685 twips (561 x 179 pixels)
// and puts the magnitude scale's left edge at 8648; 1000 twips more width widen the plot by
// 1000 and move the button frame 500 to the right.
#pragma once

namespace sabrix {

// One control's rectangle in twips.
struct TwipRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

struct FormLayout {
    TwipRect Label1;
    TwipRect Label2;
    TwipRect Label3;
    TwipRect lblStarName;
    TwipRect picJDScale;
    TwipRect picView;
    TwipRect picMagScale;
    TwipRect lblPrg;
    TwipRect cmdLoad;
    TwipRect prgLoad;
    TwipRect fraButtons;
    TwipRect lblCopyright;
    TwipRect staPlot;
    TwipRect picNorvane;
};

// The window's own design size in twips, and the smallest size it may be given (the design
// size: every rule then yields positive sizes).
constexpr float kDesignWidthTwips = 9330;
constexpr float kDesignHeightTwips = 5895;
// The size the window gets at start.
constexpr float kStartWidthTwips = 11860;
constexpr float kStartHeightTwips = 8850;
constexpr float kTwipsPerPixel = 15;

// How much wider the magnitude strip is than 375 twips, taken from the plot's width: the
// strip carries labels such as "-12.25" whole, which 25 pixels cannot.
constexpr float kMagScaleExtraTwips = 300;

// The positions the controls have before the first resize.
FormLayout DesignLayout();

// Each of the sixteen tool buttons is 480 x 480 twips at top 120 inside its frame.
constexpr float kToolButtonSize = 480;
constexpr float kToolButtonTop = 120;

// Applies the resize rules for a window of outer width and height fw x fh twips. A
// minimized window changes nothing. Sizes already in the layout (the frame's, the labels'
// and the logo's width and height) are used as they stand.
void ApplyFormResize(FormLayout& layout, float fw, float fh, bool minimized);

// Twips to whole pixels, rounded to the nearest.
int TwipsToPixels(float twips);

}  // namespace sabrix
