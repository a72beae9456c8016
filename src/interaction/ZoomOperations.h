// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom operations of the plot's tools: how a press of the magnify, JD-zoom or
// magnitude-zoom tool, or a dragged zoom box, changes the magnification factors and the plot
// window. They change the view only; the caller redraws.
//
// Factors. A factor M of 1 is the full view. A press "in" with step s (1 plain, 5 with Ctrl)
// counts M up: 1 -> 2 -> 3 plain, 1 -> 5 -> 10 with Ctrl, 2 -> 7 with Ctrl at 2; a press "out"
// counts it down to 1 at the least. The new factor divides (in) or multiplies (out) the
// current width or height, so the narrowing compounds: from a full width W two plain presses
// give W / 2, then W / 6. The window is centred on the press point: x is in picView's frame
// (days since JDFirst), y a magnitude.
//
// Step 0 (a press with Shift or Alt) changes nothing: it would divide by a factor of 0. Nor
// does a press in that would make the window narrower than 0.00001 day or lower than 0.0001
// magnitude, where its edges would no longer differ.
#pragma once

#include "core/AppState.h"

namespace sabrix {

// The step of a press from its shift code (1 Shift, 2 Ctrl, 4 Alt, summed): 1 for none, 5 for
// Ctrl alone, 0 for any other combination.
int ZoomStep(int shift);

// The factor after a press in (M + s; from exactly 1, s itself) and out (M - s, at least 1).
float FactorStepIn(float factor, int step);
float FactorStepOut(float factor, int step);

// Each returns true when it changed the view (false only for step 0). At a factor of 1 after
// an "out" press the axis returns to its full range: the JD and magnitude zooms with the
// margins of the fitted window (JDMargin, 5 days on the light curve and none on the phase
// plot; 0.5 magnitude), the magnify tool to the bare extremes. MagnifyIn puts JDMargin on both
// JD edges and 0.5 magnitude on both magnitude edges around the divided width and height.
// Every operation leaves WinJDWidth and WinMagHeight those of the window shown (margins
// included), so a later move keeps that window's size.
bool JDZoomIn(PlotWindowState& view, double x, double y, int step);
bool JDZoomOut(PlotWindowState& view, double x, double y, int step);
bool MagZoomIn(PlotWindowState& view, double x, double y, int step);
bool MagZoomOut(PlotWindowState& view, double x, double y, int step);
bool MagnifyIn(PlotWindowState& view, double x, double y, int step);
bool MagnifyOut(PlotWindowState& view, double x, double y, int step);

// Shows the box between two corners in picView's frame, whichever way it was dragged, and
// sets the factors to the true ratios of the data's extent to the box (a box a tenth of the
// JD extent gives a JD factor of 10; data of one JD or one magnitude count the fitted
// window's margins as their extent). A box narrower than 0.00001 day or lower than 0.0001
// magnitude shows that least size about its middle, as far as the presses go. Returns false
// for a box of no width or no height, leaving the view as it was.
bool ZoomToBox(PlotWindowState& view, double x1, double y1, double x2, double y2);

// The mouse wheel: each notch steps the factor of one axis as a plain press would (in for
// notches forward, out for backward; the JD axis, or the magnitude axis when magnitude is
// set), and the window keeps the point under the pointer where it is on the screen, so that
// turning the wheel zooms about the pointer. Out to a factor of 1 gives the full range with
// the margins of the fitted window.
void WheelZoomAbout(PlotWindowState& view, int notches, bool magnitude, double x, double y);

}  // namespace sabrix
