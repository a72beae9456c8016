// SPDX-License-Identifier: GPL-3.0-or-later
// The table written as a download file: the comma-separated layout that "Load a File" reads,
// with the 24-name header line and one 24-field line per row of Obs in ID order, every line
// ended by CR LF. Loading the file gives back every field of every row (see AppendCsvField for
// the quoting), so edits and deletions can be saved in a file the program loads again, and
// magnitudes of any number of decimals can be written.
//
// A table loaded from a download file keeps that file's lines (DownloadSource): the header and
// the line of every row that was not edited are written back byte for byte, line ends
// included, and an edited row keeps its field count, its line end and the text of every field
// it did not change; only the changed fields are written anew.
//
// Record line: JD, Faint + Mag ("<11.5" for a fainter-than row), Uncertain, HQUncertain, Band,
// Init, ComCod, Comp1, Comp2, Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, Star,
// ObserverAffiliation, MeasurementMethod, GroupingMethod, ADSReference, Digitizer, Credit; the
// numbers in their shortest text that reads back ("2454123.5", "10.428"), or as the user typed
// them in the record editor (typed, may be null: see TypedNumbers).
#pragma once

#include <functional>
#include <string>

#include "data/DownloadSource.h"
#include "data/ObsRow.h"
#include "data/ObsTable.h"
#include "data/TypedNumbers.h"

namespace sabrix {

// The header line naming the 24 columns as downloads name them, without line end.
const std::string& DownloadFileHeaderLine();

// Appends the record line of one row, without line end, to line.
void AppendDownloadRecordLine(std::string& line, const ObsRow& row,
                              const TypedNumbers* typed = nullptr);

// Appends the line of row written in the style of read, a line of a download file with its
// line end: read itself when row holds what read loads as; else read with the fields that
// differ written anew. A line that is no data line of 18 or 24 fields gives the record line of
// the row and read's line end.
void AppendDownloadLineLike(std::string& out, std::string_view read, const ObsRow& row,
                            const TypedNumbers* typed = nullptr);

// Returns the whole file, with where each row's line stands in it (bytes()): the header line
// and the line of every row in ID order; with the file the table was loaded from (loaded, may
// be null), its header and the lines of its rows as AppendDownloadLineLike writes them, and
// CR LF and the record line for a row it has no line of. yieldPerRow (may be empty) runs once
// per row. Throws SabrixError "No current record." for an empty table (a file without a row
// would not load again), SQLite::Exception when the table cannot be read.
DownloadSource DownloadFileText(const ObsTable& table, const DownloadSource* loaded,
                                const std::function<void()>& yieldPerRow,
                                const TypedNumbers* typed = nullptr);

}  // namespace sabrix
