// SPDX-License-Identifier: GPL-3.0-or-later
// Three-column files: plain text with one observation per line, JD, magnitude and an
// optional uncertainty. Blanks, tabs and commas separate the fields; a "<" anywhere marks a
// fainter-than observation. The program reads them into Obs and writes Obs out again as
// "JD(12, left) Mag(10, right)  Error(0.0000, 8)", e.g. "2454123.5          9.1  0.0120  ".
#pragma once

#include <QIODevice>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/SabrixError.h"
#include "data/ObsRow.h"
#include "data/ObsTable.h"

namespace sabrix {

// Thrown by XYZLoadRows when the file does not exist; the description is the message the
// user sees ("File " + path + " not found.").
class ThreeColumnFileNotFoundError : public SabrixError {
  public:
    explicit ThreeColumnFileNotFoundError(const std::string& path)
        : SabrixError("File " + path + " not found.") {}
};

// One line of a three-column file, as read.
struct ThreeColumnRecord {
    double JD = 0;
    double Mag = 0;
    std::string Faint;      // "<" when the line held a "<", else empty
    std::string Uncertain;  // the third field of a line of exactly three fields, else empty
    double Error = 0;       // the third field as a number; 0 when absent or not a number
};

// Returns the text without blanks at both ends and with every run of blanks inside replaced
// by one blank. "  a   b " -> "a b".
std::string CollapseBlanks(std::string text);

// Reads one line. Returns nothing for a line without any field (empty, or only separators).
// Throws SabrixError with a description for a line of one field or a JD or magnitude that
// is not a number, or so large that its written text would not read again
// (FormatDoubleReadsBack).
std::optional<ThreeColumnRecord> ParseThreeColumnLine(std::string_view line);

// Progress of XYZLoadRows; every member may be empty.
struct XYZLoadCallbacks {
    // After the first pass, with the number of lines of the file.
    std::function<void(int32_t lineCount)> counted;
    // Once before each line of the second pass, with the number of rows stored so far; the
    // window yields to the event loop here.
    std::function<void(int64_t rowsStored)> beforeLine;
    // Asked before each line of the second pass: true stops the load.
    std::function<bool()> cancelled;
};

// Appends one row per line of the file to table, in one transaction: either every line is
// stored or none. Star is starName, PunktFarb is color, the other texts are empty. Empty
// lines at the end of the file are ignored; an empty line followed by a record is a failure.
// Returns the number of rows stored (0 for an empty file); nothing when cancelled, the table
// then unchanged. Throws ThreeColumnFileNotFoundError when there is no such file, SabrixError when
// it is no regular file (a folder, a device, a pipe) or a line cannot be read ("Line 3: ...",
// a line longer than 64 KiB included), SQLite::Exception when the table refuses a row; the
// table is then unchanged.
std::optional<int64_t> XYZLoadRows(const std::string& path, ObsTable& table,
                                   const std::string& starName, int32_t color,
                                   const XYZLoadCallbacks& callbacks);

// The star name of a three-column file: its file name (after the last "/") cut before its
// first ".". "/data/rcar.v.txt" -> "rcar". Nothing when the file name holds no ".".
std::optional<std::string> ThreeColumnStarName(const std::string& path);

// Returns the line of one row without line end. A row whose Faint is "<" carries the "<"
// directly before its magnitude, so that reading the file again keeps the mark.
std::string ThreeColumnLine(const ObsRow& row);

// Returns the lines of every row in ID order, each ended by CR LF. Throws SabrixError
// "No current record." for an empty table, SQLite::Exception when it cannot be read. tick
// (may be empty) runs once per row.
std::string ThreeColumnFileText(const ObsTable& table, const std::function<void()>& tick = {});

// Builds the lines of every row in ID order (each ended by CR LF), then writes them to out.
// Throws SabrixError "No current record." for an empty table (nothing is written),
// SabrixError when out refuses a write, SQLite::Exception when the table cannot be read.
void WriteThreeColumnFile(QIODevice& out, const ObsTable& table);

}  // namespace sabrix
