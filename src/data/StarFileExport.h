// SPDX-License-Identifier: GPL-3.0-or-later
// The star file as the program writes it back: a header line naming the star and the time of
// writing, an empty line, and one fixed-column record line per row of Obs in ID order.
// Every line ends in CR LF.
//
// Record line (columns counted from 1), for a magnitude text with one or two characters
// before its point, e.g. Mag 9.1, Comments "ABC", Init "XYZ":
//   1-8 Desig | 9 blank | 10-19 Star | 20-26 blanks | 27-39 JD text | 40 Faint |
//   41-46 magnitude " 9.1  " | 47-52 Comments "ABC   " | 53-54 blanks | 55-59 Init "XYZ  "
// A magnitude with three characters before its point ("123.4") takes five columns, then one
// column of Uncertain and seven of Comments (a 60-byte line); a longer integer part takes
// four columns of the magnitude instead of five.
#pragma once

#include <QDateTime>
#include <QIODevice>
#include <cstdint>
#include <functional>
#include <string>

#include "data/ObsRow.h"
#include "data/ObsTable.h"
#include "data/TextFields.h"

namespace sabrix {

// Thrown for a row with a value that the layout has no room for. It names the row by its JD,
// then the field and the value: "Cannot format Number: the observation at JD 2458846.315865
// has the magnitude 12.3305, which does not fit the six columns that the star file layout
// has for a magnitude (12.345 fits)."
class StarLayoutMisfit : public FormatNumError {
  public:
    enum class Field { Mag, JD };
    StarLayoutMisfit(const ObsRow& row, Field field);

    int64_t id;         // the row's ID
    double jd;          // its JD
    Field field;        // the field that does not fit
    std::string value;  // that field's text, as the layout would write it before fitting
};

// Returns the record line of one row, without line end. A JD text longer than its 13
// columns is rounded to the decimals that fit ("2454123.123456" -> "2454123.12346").
// Throws StarLayoutMisfit when the magnitude does not fit its six-column field (e.g. 9.1234
// or 12345.6) or the JD does not fit even without decimals (e.g. 1e20).
std::string StarFileRecordLine(const ObsRow& row);

// Returns "Edited data for " + starName trimmed of blanks + ". File created on mm-dd-yyyy at
// hh:mm:ss" for the given time, without line end.
std::string StarFileHeaderLine(const std::string& starName, const QDateTime& now);

// Returns the whole star file: header, empty line and the record lines of every row in ID
// order, each line ended by CR LF. yieldPerRow (may be empty) runs once per row.
// Throws SabrixError "No current record." for an empty table, StarLayoutMisfit for the first
// row in ID order with a value that does not fit, SQLite::Exception when the table cannot be read.
std::string StarFileText(const ObsTable& table, const std::string& starName, const QDateTime& now,
                         const std::function<void()>& yieldPerRow);

// Builds the whole star file (see StarFileText) and only then writes it to out, so a failure
// while building writes nothing. Throws as StarFileText, and SabrixError when out refuses a
// write (out may then hold part of the text: write to a temporary file).
void WriteStarFile(QIODevice& out, const ObsTable& table, const std::string& starName,
                   const QDateTime& now, const std::function<void()>& yieldPerRow);

}  // namespace sabrix
