// The table written as a download file: the comma-separated layout that "Load a File" reads,
// with the 24-name header line and one 24-field line per row of Obs in ID order, every line
// ended by CR LF. Loading the file gives back every field of every row (see AppendCsvField for
// the quoting), so edits and deletions can be saved in a file the program loads again, and
// magnitudes of any number of decimals can be written.
//
// Record line: JD, Faint + Mag ("<11.5" for a fainter-than row), Uncertain, HQUncertain, Band,
// Init, ComCod, Comp1, Comp2, Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, Star,
// ObserverAffiliation, MeasurementMethod, GroupingMethod, ADSReference, Digitizer, Credit; the
// numbers in their shortest text that reads back ("2454123.5", "10.428").
#pragma once

#include <functional>
#include <string>

#include "data/ObsRow.h"
#include "data/ObsTable.h"

namespace sabrix {

// The header line naming the 24 columns as downloads name them, without line end.
const std::string& DownloadFileHeaderLine();

// Appends the record line of one row, without line end, to line.
void AppendDownloadRecordLine(std::string& line, const ObsRow& row);

// Returns the whole file: the header line and the record line of every row in ID order.
// yieldPerRow (may be empty) runs once per row. Throws SabrixError "No current record." for
// an empty table (a file without a row would not load again), SQLite::Exception when the
// table cannot be read.
std::string DownloadFileText(const ObsTable& table, const std::function<void()>& yieldPerRow);

}  // namespace sabrix
