// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/ZoomOperations.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sabrix {

namespace {

constexpr double kJDMargin = 5.0;
constexpr double kMagMargin = 0.5;
// The narrowest window a zoom goes to: about a second of time and a ten-thousandth of a
// magnitude. Narrower, the edges of a window at JD 2.4 million would no longer differ.
constexpr double kNarrowestJDWidth = 1e-5;
constexpr double kLowestMagHeight = 1e-4;

// Whether a press in with this step keeps the window at least as wide or high as the least.
bool RoomToZoom(double size, float factor, int step, double least) {
    return size / FactorStepIn(factor, step) >= least;
}

// Press points travel in single precision, as the mouse delivers them.
double PressJD(const PlotWindowState& view, double x) {
    return static_cast<double>(static_cast<float>(x)) + view.JDFirst;
}

double PressMag(double y) {
    return static_cast<double>(static_cast<float>(y));
}

void CentreJD(PlotWindowState& view, double centre) {
    view.WinJDRight = centre + view.WinJDWidth / 2;
    view.WinJDLeft = view.WinJDRight - view.WinJDWidth;
}

void CentreMag(PlotWindowState& view, double centre) {
    view.WinMagBottom = centre + view.WinMagHeight / 2;
    view.WinMagTop = centre - view.WinMagHeight / 2;
}

}  // namespace

int ZoomStep(int shift) {
    if (shift == 0) return 1;
    if (shift == 2) return 5;
    return 0;
}

float FactorStepIn(float factor, int step) {
    const float s = static_cast<float>(step);
    if (step == 1 && factor == 1.0f) return factor + s;
    if (factor == 1.0f) return s + factor - 1.0f;
    return factor + s;
}

float FactorStepOut(float factor, int step) {
    const float stepped = factor - static_cast<float>(step);
    return stepped < 1.0f ? 1.0f : stepped;
}

bool JDZoomIn(PlotWindowState& view, double x, double, int step) {
    if (step == 0 || !RoomToZoom(view.WinJDWidth, view.JDMagnification, step, kNarrowestJDWidth))
        return false;
    view.JDMagnification = FactorStepIn(view.JDMagnification, step);
    view.WinJDWidth /= view.JDMagnification;
    CentreJD(view, PressJD(view, x));
    return true;
}

bool JDZoomOut(PlotWindowState& view, double x, double, int step) {
    if (step == 0) return false;
    view.JDMagnification = FactorStepOut(view.JDMagnification, step);
    if (view.JDMagnification == 1.0f) {
        view.SetJDWindow(view.JDFirst - view.JDMargin, view.JDLast + view.JDMargin);
        return true;
    }
    view.WinJDWidth *= view.JDMagnification;
    CentreJD(view, PressJD(view, x));
    return true;
}

bool MagZoomIn(PlotWindowState& view, double, double y, int step) {
    if (step == 0 || !RoomToZoom(view.WinMagHeight, view.MagMagnification, step, kLowestMagHeight))
        return false;
    view.MagMagnification = FactorStepIn(view.MagMagnification, step);
    view.WinMagHeight /= view.MagMagnification;
    CentreMag(view, PressMag(y));
    return true;
}

bool MagZoomOut(PlotWindowState& view, double, double y, int step) {
    if (step == 0) return false;
    view.MagMagnification = FactorStepOut(view.MagMagnification, step);
    if (view.MagMagnification == 1.0f) {
        view.SetMagWindow(static_cast<double>(view.MagBrightest) - kMagMargin,
                          static_cast<double>(view.MagFaintest) + kMagMargin);
        return true;
    }
    view.WinMagHeight *= view.MagMagnification;
    CentreMag(view, PressMag(y));
    return true;
}

bool MagnifyIn(PlotWindowState& view, double x, double y, int step) {
    if (step == 0 || !RoomToZoom(view.WinJDWidth, view.JDMagnification, step, kNarrowestJDWidth) ||
        !RoomToZoom(view.WinMagHeight, view.MagMagnification, step, kLowestMagHeight))
        return false;
    view.JDMagnification = FactorStepIn(view.JDMagnification, step);
    view.MagMagnification = FactorStepIn(view.MagMagnification, step);
    // The same margin on both edges of both axes, so the press point stays in the middle;
    // the sizes take the margins in, as the window on the screen does.
    const double halfHeight = view.WinMagHeight / view.MagMagnification / 2 + kMagMargin;
    const double mag = PressMag(y);
    view.SetMagWindow(mag - halfHeight, mag + halfHeight);
    const double halfWidth = view.WinJDWidth / view.JDMagnification / 2 + view.JDMargin;
    const double jd = PressJD(view, x);
    view.SetJDWindow(jd - halfWidth, jd + halfWidth);
    return true;
}

bool MagnifyOut(PlotWindowState& view, double x, double y, int step) {
    if (step == 0) return false;
    view.JDMagnification = FactorStepOut(view.JDMagnification, step);
    view.MagMagnification = FactorStepOut(view.MagMagnification, step);
    if (view.MagMagnification == 1.0f) {
        view.SetMagWindow(view.MagBrightest, view.MagFaintest);
    } else {
        view.WinMagHeight *= view.MagMagnification;
        CentreMag(view, PressMag(y));
    }
    if (view.JDMagnification == 1.0f) {
        view.SetJDWindow(view.JDFirst, view.JDLast);
    } else {
        view.WinJDWidth *= view.JDMagnification;
        CentreJD(view, PressJD(view, x));
    }
    return true;
}

bool ZoomToBox(PlotWindowState& view, double x1, double y1, double x2, double y2) {
    // The corners as the mouse gave them, in single precision, then in order: a box dragged
    // leftward or upward shows the same window as one dragged the other way.
    const double left = static_cast<float>(std::min(x1, x2)) + view.JDFirst;
    const double right = static_cast<float>(std::max(x1, x2)) + view.JDFirst;
    const double top = static_cast<float>(std::min(y1, y2));
    const double bottom = static_cast<float>(std::max(y1, y2));
    if (!(right > left) || !(bottom > top)) return false;
    // A box narrower than a press may zoom to shows the narrowest window about its middle,
    // so the scales label every window a zoom can show.
    const auto atLeast = [](double& low, double& high, double least) {
        if (high - low >= least) return;
        const double middle = low + (high - low) / 2;
        low = middle - least / 2;
        high = middle + least / 2;
    };
    double jdLeft = left;
    double jdRight = right;
    double magTop = top;
    double magBottom = bottom;
    atLeast(jdLeft, jdRight, kNarrowestJDWidth);
    atLeast(magTop, magBottom, kLowestMagHeight);
    view.SetJDWindow(jdLeft, jdRight);
    view.SetMagWindow(magTop, magBottom);
    // The extent of the data, or of the fitted window when every observation shares one JD
    // or one magnitude: a factor of 0 would show "0 X" and make the next press do nothing.
    double jdExtent = view.JDLast - view.JDFirst;
    if (!(jdExtent > 0)) jdExtent += 2 * kJDMargin;
    double magExtent = static_cast<double>(view.MagFaintest) - view.MagBrightest;
    if (!(magExtent > 0)) magExtent += 2 * kMagMargin;
    view.JDMagnification = static_cast<float>(jdExtent / view.WinJDWidth);
    view.MagMagnification = static_cast<float>(magExtent / view.WinMagHeight);
    return true;
}

void WheelZoomAbout(PlotWindowState& view, int notches, bool magnitude, double x, double y) {
    for (int i = 0; i < std::abs(notches); ++i) {
        const bool in = notches > 0;
        if (magnitude) {
            const double pointer = PressMag(y);
            // Where the pointer stands between the top (0) and the bottom (1) edge.
            const double share = (pointer - view.WinMagTop) / (view.WinMagBottom - view.WinMagTop);
            if (!(in ? MagZoomIn(view, x, y, 1) : MagZoomOut(view, x, y, 1))) return;
            if (view.MagMagnification == 1.0f) continue;  // the full range, fitted
            view.WinMagTop = pointer - share * view.WinMagHeight;
            view.WinMagBottom = view.WinMagTop + view.WinMagHeight;
        } else {
            const double pointer = PressJD(view, x);
            const double share = (pointer - view.WinJDLeft) / (view.WinJDRight - view.WinJDLeft);
            if (!(in ? JDZoomIn(view, x, y, 1) : JDZoomOut(view, x, y, 1))) return;
            if (view.JDMagnification == 1.0f) continue;
            view.WinJDLeft = pointer - share * view.WinJDWidth;
            view.WinJDRight = view.WinJDLeft + view.WinJDWidth;
        }
    }
}

}  // namespace sabrix
