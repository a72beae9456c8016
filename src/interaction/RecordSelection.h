// SPDX-License-Identifier: GPL-3.0-or-later
// Box selection and locate (BoxFinder and Finder without their window): a place on the plot
// becomes JD and magnitude bounds, the rows inside them are read from the table, and each
// becomes one line of the record list, carrying the ID of its row.
//
// A JD bound is x + JDFirst rounded to four decimals ("0000000.0000"), a magnitude bound y
// rounded to two ("#0.0#"): a box dragged from x = 20.12345 with JDFirst 2455000 starts at
// JD 2455020.1234 (half to even on the stored value). Bounds are inclusive and put in
// ascending order, so a box selects the same rows whichever way it was dragged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "data/ObsRow.h"
#include "data/ObsTable.h"
#include "plot/PlotFrame.h"

namespace sabrix {

struct SelectionBounds {
    double jdLow = 0;
    double jdHigh = 0;
    double magLow = 0;
    double magHigh = 0;
};

// The bounds of a select-edits box, corners in picView's frame (days since jdFirst,
// magnitude), in any order.
SelectionBounds BoxBounds(double x1, double y1, double x2, double y2, double jdFirst);
// The bounds of a locate press at (x, y): the rounded press point plus and minus
// WinJDWidth / 100 / JDMagnification days and 0.1 / MagMagnification magnitude. With
// WinJDWidth 200, JDMagnification 2 and MagMagnification 1: within 1.0 day and 0.1 magnitude.
SelectionBounds LocateBounds(double x, double y, const PlotWindowState& view);

// One line of the record list and the row it stands for.
struct ListedRecord {
    int64_t ID = 0;
    // JD, Mag (with "<" before it for a fainter-than row and ".0" after a whole number),
    // Uncertain, HQUncertain, Band, Init, ComCod (trimmed), Comp1, Comp2, Charts, Comments
    // (trimmed), XForm, AirMass, Valid, CMag, KMag, HQJD and Star, joined by "," with no
    // blanks: 17 commas unless a text holds one. Bytes as stored.
    std::string line;
    // The observer code as stored.
    std::string Init;
};

ListedRecord ListLine(const ObsRow& row);
// The line of a row of a three-column file: its time as the scale shows it (JD + timeOffset),
// the magnitude as ListLine writes it and the uncertainty, joined by ",".
ListedRecord ThreeColumnListLine(const ObsRow& row, double timeOffset);

// The IDs of the shown rows that the frame draws inside the bounds (their "JD" bounds are the
// frame's x), in JD order (ID order among equal JDs); empty when there are none. Throws what
// the table throws.
std::vector<int64_t> SelectRecords(const ObsTable& table, const SelectionBounds& bounds,
                                   const PointFilter& shown, const PlotFrame& frame = TimeFrame());
// The lines of the rows with these IDs, in the order given (rows deleted since are left out).
std::vector<ListedRecord> ReadRecords(const ObsTable& table, const std::vector<int64_t>& ids);

}  // namespace sabrix
