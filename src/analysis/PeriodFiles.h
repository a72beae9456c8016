// SPDX-License-Identifier: GPL-3.0-or-later
// The files the period search writes: the periodogram as comma-separated values, and the
// folded light curve as a table of phases and magnitudes. Lines end in CR LF, as every text
// file of the program; numbers are in their shortest text that reads back (at most 15
// significant digits) unless said otherwise.
#pragma once

#include <QIODevice>
#include <span>

#include "analysis/FourierModel.h"
#include "analysis/Periodogram.h"

namespace sabrix {

// "frequency,period,power", then one line for each frequency of the grid in grid order, e.g.
// "0.25,4,0.912". Throws SabrixError when out refuses a write.
// With window, "frequency,period,window" and the window function instead of the power.
void WritePeriodogramCsv(const Periodogram& periodogram, QIODevice& out, bool window = false);

// One line "phase mag" for each observation, in the order given: its phase in [0, 1) with 6
// decimals and its magnitude, e.g. "0.250000 10.43". Throws SabrixError when out refuses a
// write.
void WritePhaseTable(std::span<const double> times, std::span<const double> mags, double epoch,
                     double period, QIODevice& out);

// The fit of the model over the phase plot: "# P T0 amplitude rms" (the period, the epoch of
// phase 0 with timeOffset added, the peak-to-peak amplitude, the rms of the residuals), then
// one line "phase mag model residual" for each observation (phase as WritePhaseTable, the
// magnitudes with 6 decimals). Throws SabrixError when out refuses a write.
void WriteFitTable(std::span<const double> times, std::span<const double> mags,
                   const FourierModel& model, double epoch, double timeOffset, QIODevice& out);

}  // namespace sabrix
