// SPDX-License-Identifier: GPL-3.0-or-later
// The two kinds of observation file the program loads: star files (the comma-separated
// download layout, "Load a File") and three-column files (JD, magnitude, uncertainty, "Load
// 3-Column File").
#pragma once

namespace sabrix {

enum class ObservationFileKind { StarFile, ThreeColumnFile };

}  // namespace sabrix
