// SPDX-License-Identifier: GPL-3.0-or-later
// The period search of many files at once (sabrix --periodogram FILE... --summary OUT.csv):
// each file is read, prepared and searched with the same options as a single --periodogram
// run, on every core (one file per thread), and the summary gets one line per file in the
// order given:
//
//     file,observations,span,period,frequency,power,amplitude,fap,sigma_period,method
//
// power is theta for phase dispersion minimisation (which has no false-alarm probability or
// period uncertainty: those fields stay empty). A file that cannot be searched keeps its line,
// with what is known and, in the method field, "skipped: " and the reason (unreadable, too few
// observations, ...). Files are read without the working database (only their times,
// magnitudes and uncertainties, fainter-than estimates left out), so memory stays that of the
// few files being searched, whatever their number.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace sabrix {

// The files named: a folder stands for the regular files in it (not its sub-folders, not
// hidden ones), by name. Returns the list; a name that is neither file nor folder stays, so
// that its line says it is unreadable.
std::vector<std::string> ExpandBatchInputs(const std::vector<std::string>& inputs);

// Searches every file of options.files (expanded), writes the summary to options.summary
// ("-" or empty: standard output) and each periodogram as CSV into options.outDir when given
// (NAME.periodogram.csv, NAME the file name less its extension). Progress goes to err about
// once a second, as does one line for each file skipped. Returns 0 when every file was
// searched, 1 when any was skipped or the summary could not be written.
int RunPeriodogramBatch(const PeriodogramRunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sabrix
