// SPDX-License-Identifier: GPL-3.0-or-later
// Which kind of observation file a file is, for a file handed to the program without saying
// (dropped on the main window): a three-column file when its name ends in ".dat" (any case),
// or when its first lines each hold two or three numbers (blanks, tabs or commas between
// them, a "<" allowed); otherwise a star file, whose load then says what it finds.
#pragma once

#include <string>
#include <string_view>

#include "core/ObservationFileKind.h"

namespace sabrix {

// True for a line of two or three fields that are all numbers once "<" marks are taken out.
// "2455001.5 9.1", "2455001.5,<11.2,0.05" -> true; "2455001.5,9.1,Vis,..." -> false.
bool HoldsTwoOrThreeNumbers(std::string_view line);

// The kind of the file at path, judged by its name and by its first 20 lines that are not
// blank: three-column when there is at least one such line and every one of them holds two or
// three numbers. A file that cannot be read counts as a star file. Never throws.
ObservationFileKind GuessObservationFileKind(const std::string& path);

}  // namespace sabrix
