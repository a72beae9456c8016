// SPDX-License-Identifier: GPL-3.0-or-later
// Observer marking: every row of one observer drawn in one colour, the marking numbered and
// its points listed in MarkList (plot/ObserverMarks.h), which the plotter joins with lines
// when "Connect Marked Observations" is on; and UnMarkObs, which takes all markings away.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/ObserverMarks.h"

namespace sabrix {

// The sixteen colours of the record list's palette, packed red + 256 * green + 65536 * blue:
// black, navy, green, teal, maroon, purple, olive, silver, grey, blue, lime, aqua, red,
// fuchsia, yellow, white.
extern const std::array<int32_t, 16> kMarkPalette;

// Marks the observer's rows (the code compared exactly, as stored) in the colour: MarkCount
// goes up by one and becomes the marking number, each row gets PunktFarb = color and
// Marked = that number, and one MarkList entry (number, JD, Mag, colour, all as text) is
// appended per row, in ID order. Then ObserverMarked is true. An observer with no rows still
// counts a marking. Does not redraw.
// Throws what the table throws; the rows, MarkList and the counts are then as before.
void MarkObs(ObserverMarks& marks, ObsTable& table, const std::string& code, int32_t color);

// Takes every observer marking away: each row whose Marked is not empty gets an empty Marked
// and its BandColor back (under the colour settings given); unmarked rows are not touched.
// Then MarkList is emptied, MarkCount becomes 0 and ObserverMarked false.
// Throws SQLite::Exception when the table cannot be read or written; the rows and the marks
// are then left as they were.
void UnMarkObs(ObserverMarks& marks, const Settings& colors, ObsTable& table);

// Keeps MarkList in step with a marked row that was edited (newJD and newMag given) or
// deleted (none given): the entry of that marking with the row's old JD and Mag moves or goes.
// Rows that are not marked leave it alone.
void FollowMarkedRow(ObserverMarks& marks, const std::string& marked, double oldJD, double oldMag,
                     const double* newJD = nullptr, const double* newMag = nullptr);

// Puts a row that comes back into the table (an undone deletion) into the marking of its
// observer as it is now: when the observer is marked, Marked becomes the number of its last
// marking, PunktFarb that marking's colour, and the row's MarkList entry goes among the
// entries of that marking before the first of a later JD, so the joining line runs through
// it; otherwise Marked is emptied and PunktFarb is the BandColor under colors.
void RejoinMarks(ObserverMarks& marks, const Settings& colors, ObsRow& row);

}  // namespace sabrix
