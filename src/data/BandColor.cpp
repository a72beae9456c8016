// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/BandColor.h"

#include <cmath>
#include <limits>

#include "data/CsvLine.h"

namespace sabrix {

namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

int32_t ToColor(double value) {
    // A settings file can hold anything; out-of-range values must not become undefined
    // behaviour in the conversion.
    if (!std::isfinite(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

double BandColorValue(std::string_view faint, std::string_view band, std::string_view valid,
                      const Settings& c) {
    if (!TrimBlanks(faint).empty()) return c.ColorFAINT;
    if (Contains(band, "VIS") || Contains(band, "Vis")) return c.ColorVIS;
    if (TrimBlanks(valid) == "D") return c.ColorDISC;
    const std::string_view bare = TrimBlanks(band);
    if (bare.empty()) return c.ColorNA;
    if (bare == "U") return c.ColorU;
    if (bare == "V") return c.ColorV;
    if (bare == "R") return c.ColorR;
    if (bare == "CV") return c.ColorCV;
    if (bare == "J") return c.ColorJ;
    if (Contains(band, "CR")) return c.ColorCR;
    if (Contains(band, "H")) return c.ColorH;
    if (Contains(band, "B")) return c.ColorB;
    if (Contains(band, "I")) return c.ColorI;
    return c.ColorVIS;
}

}  // namespace

int32_t BandColor(std::string_view faint, std::string_view band, std::string_view valid,
                  const Settings& colors) {
    return ToColor(BandColorValue(faint, band, valid, colors));
}

}  // namespace sabrix
