// SPDX-License-Identifier: GPL-3.0-or-later
// The program's work without a window: drawing the plot of a file into a PNG (--render) and
// converting a file through the program's own writers (--convert). Both load the file through
// the main window's commands (MainWindowCommands) into a scratch copy of the template
// database, so they never touch a running program's working database, and draw and write
// with the same code as the windows.
#pragma once

#include <iosfwd>
#include <string>

#include "app/CommandLine.h"

namespace sabrix {

// Draws what the plot area shows after loading the file into options.out, in the format its
// name ends in: PNG, JPEG, or SVG or PDF (vector shapes, see PlotImageBytes). Prints the
// star label ("NAME - (N Points)") and "Rejected lines: N" to out, then the stats lines when
// asked. Returns 0; 1 with the program's message on err when the file loads no row, the
// template is missing or the PNG cannot be written.
int RunRender(const RenderOptions& options, const std::string& programDir, std::ostream& out,
              std::ostream& err);

// Loads the file and writes options.out with the star-file, three-column or download writer,
// exactly as the save commands write the table; a three-column file is not written as a
// download file. Returns 0; 1 with the message on err, leaving no new
// output file and an existing one untouched.
int RunConvert(const ConvertOptions& options, const std::string& programDir, std::ostream& out,
               std::ostream& err);

// Loads the file, shows options.view of it, and prints the five highest peaks of the
// periodogram of the observations shown to out, highest first, one line each: "period
// frequency power amplitude" (period and frequency with 7 decimals, power and semi-amplitude
// with 4); then writes the periodogram as CSV to options.out when given. Returns 0; 1 with one
// message on err when the file loads nothing, the observations give no periodogram, a range
// field is refused (the message names it) or the CSV cannot be written.
int RunPeriodogram(const PeriodogramRunOptions& options, const std::string& programDir,
                   std::ostream& out, std::ostream& err);

// Loads the file and prints the time of the minimum (or maximum) of the observations shown
// between options.from and options.to (see TimeOfMinimum.h) as one line "time error n method"
// (time and error in days with 6 decimals, method KvW or parabola). Returns 0; 1 with one
// message on err when the file loads nothing or the range holds no extremum.
int RunMinimum(const MinimumRunOptions& options, const std::string& programDir, std::ostream& out,
               std::ostream& err);

}  // namespace sabrix
