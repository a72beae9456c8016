// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a star file (a download in the comma-separated observation format) for the table Obs:
// counting its lines for the progress bar, telling data lines from header lines and malformed
// lines, its plotted columns and the rows behind them, and the message the user sees
// afterwards.
// The window that runs the command supplies the progress and event-loop hooks; everything
// else happens here, so the same import serves the window, the command line and the tests.
//
// A data line has 18 fields, or 24 (the 18 followed by Observer Affiliation, Measurement
// Method, Grouping Method, ADS Reference, Digitizer and Credit, kept in their own columns), and its
// field 0 without blanks at its ends is a Julian Date written as a plain decimal number: seven
// digits, optionally followed by "." and more digits ("2454123.5", "2454123.51234", "2455411",
// "2455411."). Nothing else is taken as a date, so the number stored is the one the line shows
// and the one the writers write again ("2457845.5e3" is no date, not 2457845500).
// The first line of the file is the header when it has 18 or 24 fields and its field 0 holds no
// digit ("JD,Magnitude,..."): it is skipped. Every other line is rejected: written unchanged
// to the error file and counted (a line of another field count, a date of six digits or with
// an exponent, a second header). A UTF-8 byte-order mark at the start of the file is not part
// of the first line. A line longer than 64 KiB is rejected whatever it holds; the error file
// gets its first 64 KiB.
//
// A file whose first line is the dated header of the fixed-column layout that "Save to Star
// File" writes (StarLayoutLine.h) is read in that layout: the empty second line is passed
// over, each record line gives the fields of a download line (JD by the same rule), every
// other line is rejected, and the star's name is the one in the header.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppState.h"
#include "core/Prompts.h"
#include "data/DownloadSource.h"
#include "data/ObsRow.h"
#include "data/ObsTable.h"
#include "data/PlotColumns.h"
#include "data/TableFill.h"

namespace sabrix {

// The number of lines of the file (CR, LF and CR LF each end a line) plus 20: the maximum
// of the progress bar and the total quoted to the user. 0 when the file does not exist or
// cannot be read.
int32_t CountLines(const std::string& path);

enum class StarLineClass { Data, Header, Rejected };

// The class of a line already split into fields, the first line of the file or another (see
// the top of this file).
StarLineClass ClassifyStarLine(const std::vector<std::string_view>& fields, bool firstLine);

// Reads the plotted columns of a data line into point (ID, band and observer untouched): JD is
// field 0; Mag the number after the first "<" of field 1 when it holds one (faint set), else
// field 1; PunktFarb is BandColor of the faint mark, field 4 as read and field 13; the
// uncertainty is read from field 2 and the discrepant mark from field 13 by the rules of
// PlotColumns. Returns false when JD or Mag is not a number, or one whose written text would
// not read again.
bool ReadStarColumns(const std::vector<std::string_view>& fields, const Settings& colors,
                     ObsPoint& point);

// Fills row from the fields of a data line. JD is field 0; when field 1 holds a "<", Faint
// is "<" and Mag the number after the first "<", otherwise Faint is empty and Mag field 1;
// Star is field 17 without blanks at its ends and with ASCII letters upper-cased; the other
// texts are their fields without blanks at their ends (fields 18 to 23 of a 24-field line go
// to ObserverAffiliation ... Credit, which stay empty otherwise; Desig is field 18 of the
// 19 fields of a fixed-column record line (StarLayoutLine.h), else empty); PunktFarb is BandColor
// of Faint, field 4 as read and field 13; Marked and Edited are empty. Returns true on success,
// false when JD or Mag is not a number (blanks around a number are allowed), leaving row partly
// filled; a number whose text the writers would give cannot be read again (FormatDoubleReadsBack)
// counts as no number. The row's strings are reused, so filling one row per line allocates
// little.
bool FillStarRow(const std::vector<std::string_view>& fields, const Settings& colors, ObsRow& row);
// The same for a data line whose plotted columns ReadStarColumns has read into point (the
// texts come from the fields, the numbers and the colour from point).
void FillStarRow(const std::vector<std::string_view>& fields, const ObsPoint& point, ObsRow& row);

// Hooks of a running import; each may be left empty.
struct ImportCallbacks {
    // Once, before the first line: the progress maximum (the result of CountLines).
    std::function<void(int32_t recordCount)> started;
    // Before the first row is stored: "Loading " + count + " Records for " + STAR NAME, the
    // count being the lines from the first data line to the end (a header line and the layout's
    // dated header and empty line not counted).
    std::function<void(const std::string& caption)> firstRow;
    // After each stored row, with the number of rows stored before it (0, 1, 2, ...).
    std::function<void(int64_t n)> progress;
    // Before each line is handled: the moment to let the window repaint (the caller paces
    // it, see EventPacer).
    std::function<void()> yield;
    // Asked before each line: true stops the read at once (outcome Cancelled).
    std::function<bool()> cancelled;
};

struct ImportResult {
    enum class Outcome {
        Loaded,        // at least one data line read
        NoDataLines,   // the file holds no data line; nothing stored
        CannotOpen,    // the file could not be opened or is no regular file; description says why
        InputPastEnd,  // the file is empty
        ConversionFailed,  // JD or Mag of a data line is not a number; nothing stored
        Cancelled,         // the caller stopped the read; nothing stored
    };
    Outcome outcome = Outcome::NoDataLines;
    int64_t stored = 0;       // rows stored (0 unless Loaded)
    int64_t rejected = 0;     // lines written to the error file
    int32_t recordCount = 0;  // CountLines of the file
    // Field 17 of the last data line, trimmed, case kept; for the fixed-column layout the
    // name in its header.
    std::string starName;
    std::string lastJD;       // ConversionFailed: field 0 of the failing line, trimmed
    std::string description;  // the system's description of a failure, else empty
    int64_t linesRead = 0;    // the lines of the file read up to the end or the failing line
    bool starLayout = false;  // the file is in the fixed-column layout of a star file
};

// Receives each data line of ReadStarFile: its fields (valid until the next line) and its
// plotted columns, with ID its number among the data lines from 1.
using StarLineSink =
    std::function<void(const std::vector<std::string_view>& fields, const ObsPoint& point)>;

// The one walk through a star file's lines that every reader of star files shares: counts the
// lines (when errorsPath is given), classifies each, says the first row's caption and the
// progress, reads the plotted columns of each data line and hands the line to take. Stops at the
// first data line whose JD or Mag is not a number (ConversionFailed, take not called for it).
// Only a regular file is read; anything else is CannotOpen. Once the star file is open, the
// error file at errorsPath (none when it is empty) is replaced by the rejected lines of this
// read, bytes unchanged, each ended by CR LF; it is written only after the star file was read to
// its end (or to the line that failed), so errorsPath may be the star file itself.
// Returns the outcome; stored is the number of data lines taken when Loaded; recordCount is
// CountLines of the file when errorsPath is given, else 0. Throws SabrixError when the error
// file cannot be written (it then keeps its old content), and whatever take or a callback
// throws.
ImportResult ReadStarFile(const std::string& path, const std::string& errorsPath,
                          const Settings& colors, const ImportCallbacks& callbacks,
                          const StarLineSink& take);

// What a load of a star file draws first, read without a table (ReadStarFile with the error
// file): the plotted columns, the band of a point being field 4 and its observer field 5, each
// without blanks at its ends; and the source of its rows for ObsTable::StartFill.
struct StarFileScan {
    ImportResult result;
    PlotColumns columns;  // IDs 1 to n in file order; empty unless Loaded
    // Unless Loaded, empty. The rows of the data lines in file order, read again on the fill's
    // thread from the file that was scanned (the same file even when its path has been
    // replaced since), with the same rule, without error file, line count or callbacks but the
    // cancel. Throws TableFill::RowError (with the JD of the line) when a data line no longer
    // holds numbers; a file that changed in other ways is caught by the fill's check against
    // the columns.
    TableFill::RowSource rows;
    // A download file (not the fixed-column layout) that was Loaded: the file and the lines of
    // its rows, read again when a save asks for them; nothing for the fixed-column layout.
    std::optional<DownloadSource> source;
};
StarFileScan ScanStarFile(const std::string& path, const std::string& errorsPath,
                          const Settings& colors, const ImportCallbacks& callbacks);

// A message box to show after an import.
struct ImportMessage {
    QString text;
    QString title;
    Icon icon = Icon::None;
};

// The message for the result: the count of rejected lines after a load that rejected some
// ("Database Record Error"), the failure message otherwise, nothing after a clean load.
std::optional<ImportMessage> ImportMessageFor(const ImportResult& result);

}  // namespace sabrix
