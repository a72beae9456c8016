// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/FormLayout.h"

#include <cmath>

namespace sabrix {

FormLayout DesignLayout() {
    FormLayout l;
    l.Label1 = {2685, 120, 3975, 495};
    l.Label2 = {2738, 600, 3855, 615};
    l.Label3 = {7200, 120, 1935, 375};
    l.lblStarName = {240, 360, 8535, 375};
    l.picJDScale = {225, 720, 8535 - kMagScaleExtraTwips, 375};
    l.picView = {225, 1080, 8535 - kMagScaleExtraTwips, 3375};
    l.picMagScale = {8745 - kMagScaleExtraTwips, 1080, 375 + kMagScaleExtraTwips, 3375};
    l.lblPrg = {2858, 3720, 3615, 255};
    l.cmdLoad = {3938, 3960, 1500, 495};
    l.prgLoad = {3218, 3960, 2895, 255};
    l.fraButtons = {218, 4680, 9255, 855};
    // Wide enough for the copyright line in the fonts Debian installs (it was cut at 2415).
    l.lblCopyright = {105, 5400, 3615, 300};
    l.staPlot = {0, 5640, 9330, 255};
    // The logo has no design position of its own; the resize rules place it.
    l.picNorvane = {3465, 1200, 2400, 1800};
    return l;
}

void ApplyFormResize(FormLayout& l, float fw, float fh, bool minimized) {
    if (minimized) return;
    l.picView.Width = fw - 915 - kMagScaleExtraTwips;
    l.picView.Height = fh - 3210;
    l.picJDScale.Width = l.picView.Width;
    l.picMagScale.Left = l.picView.Width + 233;
    l.picMagScale.Height = l.picView.Height;
    l.fraButtons.Top = fh - 1905;
    l.fraButtons.Left = fw / 2 - l.fraButtons.Width / 2;
    l.staPlot.Top = fh - 945;
    l.lblStarName.Width = l.picView.Width;
    l.Label3.Left = fw - 2250;
    l.Label1.Left = fw / 2 - l.Label1.Width / 2;
    l.Label2.Left = fw / 2 - l.Label2.Width / 2;
    l.picNorvane.Top = fh / 2 - l.picNorvane.Height / 1.1f;
    l.picNorvane.Left = fw / 2 - l.picNorvane.Width / 2;
    l.cmdLoad.Top = fh * 0.59f;
    l.cmdLoad.Left = fw / 2 - l.cmdLoad.Width / 2;
    l.prgLoad.Left = fw / 2 - l.prgLoad.Width / 2;
    l.prgLoad.Top = fh - 2625;
    l.lblPrg.Top = fh - 2865;
    l.lblPrg.Left = fw / 2 - l.lblPrg.Width / 2;
    l.lblCopyright.Top = fh - 1300;
}

int TwipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

}  // namespace sabrix
