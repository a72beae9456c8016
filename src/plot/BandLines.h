// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the band panel: one per band of the loaded star (the Band text as stored,
// trimmed), with the colour its observations are drawn in, how many observations it has and
// whether they are shown; then a line for the fainter-than estimates and one for the
// discrepant observations, which have colours of their own. The panel's widget only shows
// these lines and reports clicks on them; what a click changes is decided by the commands.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "data/PlotColumns.h"

namespace sabrix {

struct BandLine {
    enum class Kind { Band, FainterThan, Discrepant };
    Kind kind = Kind::Band;
    // The band's text as the table holds it, trimmed; empty for the other kinds.
    std::string band;
    // What the line says: the band's text ("(no band)" for an empty one), "Fainter-than
    // estimates" or "Discrepant".
    QString label;
    // The colour of the swatch, packed red + 256 * green + 65536 * blue.
    int32_t color = 0;
    int64_t count = 0;
    bool shown = true;

    bool operator==(const BandLine&) const = default;
};

// The lines for these columns and the state's colours and choices: the bands that have
// observations, the most observed first (by text among equal counts), then the fainter-than
// line and the discrepant line, each only when there are such observations. The swatch of a
// band is the colour the colour rules give its plain observations; "shown" follows the hidden
// bands, OmitFainter and OmitDiscrepant. Empty columns give no line. Never fails.
std::vector<BandLine> BandLines(const PlotColumns& columns, const AppState& state);

}  // namespace sabrix
