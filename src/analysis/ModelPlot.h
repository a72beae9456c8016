// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier model (FourierModel.h) drawn over the plot: over both cycles of the phase plot,
// and along the light curve.
#pragma once

#include "analysis/FourierModel.h"
#include "core/AppState.h"
#include "plot/Canvas.h"

namespace sabrix {

// The model's curve from phase -0.5 to 1.5 for the epoch (phase 0), in picView's frame of the
// phase window view (x = phase - JDFirst).
void DrawModelOverPhase(const FourierModel& model, double epoch, const PlotWindowState& view,
                        Canvas& picView);

// The model's curve across the light curve's window (x = JD - JDFirst), at least 40 samples a
// cycle (at most 20,000 in all: denser than the pixels, a band).
void DrawModelOverTime(const FourierModel& model, const PlotWindowState& view, Canvas& picView);

}  // namespace sabrix
