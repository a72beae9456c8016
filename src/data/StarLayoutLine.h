// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-column layout that "Save to Star File" writes (StarFileExport.h), read back, so
// that a star file the program saved loads again. The reader of star files (StarFileImport.h)
// knows the layout by its dated header line and turns each record line into the fields of a
// download line; from there on a record line is read as a download line is.
//
// Record line, 0-based byte offsets: Desig 0-7 | blank 8 | Star 9-18 | blanks 19-25 | JD
// 26-38 | Faint 39 | then one of three magnitude blocks, told apart by where the point stands:
//   " 9.1  " or "12.345": magnitude 40-45 (point at 42), Comments 46-51, blanks 52-53,
//                         Init 54-58 (59 bytes)
//   "123.4":              magnitude 40-44 (point at 43), Uncertain 45, Comments 46-52,
//                         blanks 53-54, Init 55-59 (60 bytes)
//   "1234" (no point):    magnitude 40-43, Uncertain 44, Comments 45-51, blanks 52-53,
//                         Init 54-58 (59 bytes)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sabrix {

// Returns true when line is the layout's header line: "Edited data for " + NAME + ". File
// created on mm-dd-yyyy at hh:mm:ss" (digits where the format has letters). starName then
// holds NAME (the loaded star's name as it was saved); it is untouched otherwise.
bool ReadStarLayoutHeader(std::string_view line, std::string& starName);

// The field that SplitStarLayoutLine adds after the 18 of a download line: Desig, which the
// layout holds and a download does not.
constexpr size_t kStarLayoutDesigField = 18;

// Splits a record line of the layout into the 18 fields of a download line and Desig: 0 JD,
// 1 the fainter-than mark and the magnitude ("<11.2 ", " 9.1  "), 2 Uncertain (empty in the
// six-column block), 5 Init, 10 Comments, 17 Star, 18 Desig; every other field empty. The
// fields point into line. Returns false, with fields unchanged, for a line that is no record line
// of the layout: another length, or text where the layout has blanks.
bool SplitStarLayoutLine(std::string_view line, std::vector<std::string_view>& fields);

}  // namespace sabrix
