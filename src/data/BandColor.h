// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing colour of an observation, chosen from its fainter-than mark, its band code and
// its validation flag.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/AppState.h"

namespace sabrix {

// The colour of one observation, packed red + 256 * green + 65536 * blue and rounded to the
// nearest integer. The first rule that applies wins:
//   1. faint, without blanks at its ends, is not empty: ColorFAINT;
//   2. band contains "VIS" or "Vis": ColorVIS;
//   3. valid, without blanks at its ends, is "D": ColorDISC;
//   4. band, without blanks at its ends, is empty: ColorNA;
//   5. band, without blanks at its ends, is "U", "V", "R", "CV" or "J": that band's colour;
//   6. band contains "CR", else "H", else "B", else "I": that band's colour;
//   7. anything else: ColorVIS.
// All tests are case-sensitive; "contains" looks at band as given, blanks included. So a band
// "TB" gets ColorB, "TV" and "v" get ColorVIS, and " V " gets ColorV. Never fails.
int32_t BandColor(std::string_view faint, std::string_view band, std::string_view valid,
                  const Settings& colors);

}  // namespace sabrix
