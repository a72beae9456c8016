// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/Navigation.h"

namespace sabrix {

namespace {

bool JDZoomed(const PlotWindowState& view) {
    return view.JDMagnification != 1.0f;
}

bool MagZoomed(const PlotWindowState& view) {
    return view.MagMagnification != 1.0f;
}

void PlaceByRightEdge(PlotWindowState& view, double right) {
    view.WinJDRight = right;
    view.WinJDLeft = right - view.WinJDWidth;
}

void PlaceByBottomEdge(PlotWindowState& view, double bottom) {
    view.WinMagBottom = bottom;
    view.WinMagTop = bottom - view.WinMagHeight;
}

}  // namespace

bool StepBack(PlotWindowState& view) {
    if (!JDZoomed(view)) return false;
    double right = view.WinJDRight - kJDStep * view.WinJDWidth;
    const double limit = view.JDFirst + kJDStep * view.WinJDWidth;
    if (limit > right) right = limit;
    PlaceByRightEdge(view, right);
    return true;
}

bool StepForward(PlotWindowState& view) {
    if (!JDZoomed(view)) return false;
    double right = view.WinJDRight + kJDStep * view.WinJDWidth;
    const double limit = view.JDLast + kNavigationJDMargin;
    if (limit < right) right = limit;
    PlaceByRightEdge(view, right);
    return true;
}

bool GoToBeginning(PlotWindowState& view) {
    if (!JDZoomed(view)) return false;
    // The mirror of the end: the window keeps its width, so the next Back or Forward moves
    // by the steps the user saw before.
    view.WinJDLeft = view.JDFirst - kNavigationJDMargin;
    view.WinJDRight = view.WinJDLeft + view.WinJDWidth;
    return true;
}

bool GoToEnd(PlotWindowState& view) {
    if (!JDZoomed(view)) return false;
    PlaceByRightEdge(view, view.JDLast + kNavigationJDMargin);
    return true;
}

bool StepBrighter(PlotWindowState& view) {
    if (!MagZoomed(view)) return false;
    PlaceByBottomEdge(view, view.WinMagBottom - kMagStep);
    return true;
}

bool StepDimmer(PlotWindowState& view) {
    if (!MagZoomed(view)) return false;
    PlaceByBottomEdge(view, view.WinMagBottom + kMagStep);
    return true;
}

}  // namespace sabrix
