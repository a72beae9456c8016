// SPDX-License-Identifier: GPL-3.0-or-later
// The files the period search writes: the periodogram as comma-separated values, and the
// folded light curve as a table of phases and magnitudes. Lines end in CR LF, as every text
// file of the program; numbers are in their shortest text that reads back (at most 15
// significant digits) unless said otherwise.
#pragma once

#include <QIODevice>
#include <span>

#include "analysis/Periodogram.h"

namespace sabrix {

// "frequency,period,power", then one line for each frequency of the grid in grid order, e.g.
// "0.25,4,0.912". Throws SabrixError when out refuses a write.
void WritePeriodogramCsv(const Periodogram& periodogram, QIODevice& out);

// One line "phase mag" for each observation, in the order given: its phase in [0, 1) with 6
// decimals and its magnitude, e.g. "0.250000 10.43". Throws SabrixError when out refuses a
// write.
void WritePhaseTable(std::span<const double> times, std::span<const double> mags, double epoch,
                     double period, QIODevice& out);

}  // namespace sabrix
