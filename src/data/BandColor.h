// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing colour of an observation, chosen from its fainter-than mark, its band code and
// its validation flag.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/AppState.h"
#include "data/PlotColumns.h"

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
// The same, except that a plain observation (neither faint nor discrepant) of a band that
// bands holds (band taken without blanks at its ends) gets that band's colour.
int32_t BandColor(std::string_view faint, std::string_view band, std::string_view valid,
                  const Settings& colors, const BandColorMap& bands);

// True when a rule above names the band by itself: the band, without blanks at its ends, is
// empty, "U", "V", "R", "CV", "J", "CR", "H", "B" or "I", or contains "VIS" or "Vis" (the
// visual estimates). "TB", "MI" or "N/A" have no rule of their own: "contains" only lent
// them the colour of another band, and the fallback gave every other band the visual green.
bool BandHasOwnRule(std::string_view band);

// The colours of the bands that have no rule of their own, among these bands (the texts of
// PlotColumns::Bands() with their counts; those with no observation left are passed over).
// Each takes the next colour of a palette made for telling categories apart (Tableau 10, then
// lighter and darker shades of it, then evenly spaced hues), the most observed band first (by
// text among equal counts), passing over a colour close to one that a shown band already
// has: the rule colours of the bands present, the fainter-than and the discrepant colour, and
// the colours given before. Never fails.
BandColorMap BandColorsFor(const std::vector<ColumnText>& bands, const Settings& colors);

// Gives band (trimmed) the next free palette colour when it has no rule of its own and no
// colour in bands yet: a band that an edit brings in. Every rule colour counts as taken.
void AddBandColor(BandColorMap& bands, std::string_view band, const Settings& colors);

}  // namespace sabrix
