// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/BandColor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/SettingsFile.h"
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

// Packs red, green and blue as the settings hold colours.
constexpr int32_t Packed(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

// Tableau 10, the palette made for telling categories apart, then Tableau 20's lighter
// shades of the same hues. Plots are drawn on black, so none of them is dark.
constexpr std::array<int32_t, 20> kPalette{
    Packed(0x4E, 0x79, 0xA7), Packed(0xF2, 0x8E, 0x2B), Packed(0xE1, 0x57, 0x59),
    Packed(0x76, 0xB7, 0xB2), Packed(0x59, 0xA1, 0x4F), Packed(0xED, 0xC9, 0x48),
    Packed(0xB0, 0x7A, 0xA1), Packed(0xFF, 0x9D, 0xA7), Packed(0x9C, 0x75, 0x5F),
    Packed(0xBA, 0xB0, 0xAC), Packed(0xAE, 0xC7, 0xE8), Packed(0xFF, 0xBB, 0x78),
    Packed(0x98, 0xDF, 0x8A), Packed(0xFF, 0x98, 0x96), Packed(0xC5, 0xB0, 0xD5),
    Packed(0xC4, 0x9C, 0x94), Packed(0xF7, 0xB6, 0xD2), Packed(0xDB, 0xDB, 0x8D),
    Packed(0x9E, 0xDA, 0xE5), Packed(0x1F, 0x77, 0xB4)};

// How far apart two colours look: the "redmean" weighting of the RGB distance, cheap and
// close enough to tell "the same" from "different" on a plot.
double ColorDistance(int32_t a, int32_t b) {
    const auto part = [](int32_t color, int shift) { return (color >> shift) & 0xFF; };
    const double meanRed = (part(a, 0) + part(b, 0)) / 2.0;
    const double dr = part(a, 0) - part(b, 0);
    const double dg = part(a, 8) - part(b, 8);
    const double db = part(a, 16) - part(b, 16);
    return std::sqrt((2 + meanRed / 256) * dr * dr + 4 * dg * dg +
                     (2 + (255 - meanRed) / 256) * db * db);
}

// The n-th colour past the palette: hues a golden angle apart, bright enough for black.
int32_t GeneratedColor(size_t n) {
    const double hue = std::fmod(static_cast<double>(n) * 137.508, 360.0) / 60.0;
    const double x = 1 - std::fabs(std::fmod(hue, 2.0) - 1);
    const std::array<double, 6 * 3> sectors{1, x, 0, x, 1, 0, 0, 1, x, 0, x, 1, x, 0, 1, 1, 0, x};
    const size_t sector = std::min<size_t>(static_cast<size_t>(hue), 5) * 3;
    const auto channel = [&](size_t i) {
        return static_cast<int>(std::lround(80 + 175 * sectors[sector + i]));
    };
    return Packed(channel(0), channel(1), channel(2));
}

// The first colour of the palette (then of the generated ones) that is not close to any of
// taken; it joins taken. Colours closer than this look alike as dots on a plot.
int32_t NextFreeColor(std::vector<int32_t>& taken) {
    constexpr double kAlike = 110;
    const auto free = [&taken](int32_t color) {
        return std::none_of(taken.begin(), taken.end(),
                            [color](int32_t t) { return ColorDistance(color, t) < kAlike; });
    };
    int32_t chosen = 0;
    bool found = false;
    for (int32_t color : kPalette)
        if (free(color)) {
            chosen = color;
            found = true;
            break;
        }
    // The hues come round again near each other after many bands: then the first one that
    // differs from every colour taken will do.
    for (size_t n = 0; !found && n < 4096; ++n) {
        const int32_t color = GeneratedColor(n);
        if (n >= 64 ? std::find(taken.begin(), taken.end(), color) == taken.end() : free(color)) {
            chosen = color;
            found = true;
        }
    }
    taken.push_back(chosen);
    return chosen;
}

std::vector<int32_t> KindColors(const Settings& colors) {
    return {ToColor(colors.ColorFAINT), ToColor(colors.ColorDISC)};
}

}  // namespace

bool BandHasOwnRule(std::string_view band) {
    if (Contains(band, "VIS") || Contains(band, "Vis")) return true;
    const std::string_view bare = TrimBlanks(band);
    for (std::string_view named : {"", "U", "V", "R", "CV", "J", "CR", "H", "B", "I"})
        if (bare == named) return true;
    return false;
}

BandColorMap BandColorsFor(const std::vector<ColumnText>& bands, const Settings& colors) {
    std::vector<int32_t> taken = KindColors(colors);
    std::vector<const ColumnText*> unruled;
    for (const ColumnText& band : bands) {
        if (band.count <= 0) continue;
        if (BandHasOwnRule(band.text))
            taken.push_back(BandColor("", band.text, "", colors));
        else
            unruled.push_back(&band);
    }
    std::sort(unruled.begin(), unruled.end(), [](const ColumnText* a, const ColumnText* b) {
        return a->count != b->count ? a->count > b->count : a->text < b->text;
    });
    BandColorMap given;
    for (const ColumnText* band : unruled)
        given.emplace(std::string(TrimBlanks(band->text)), NextFreeColor(taken));
    return given;
}

void AddBandColor(BandColorMap& bands, std::string_view band, const Settings& colors) {
    const std::string_view bare = TrimBlanks(band);
    if (BandHasOwnRule(bare) || bands.find(bare) != bands.end()) return;
    std::vector<int32_t> taken = KindColors(colors);
    for (const ColorSetting& setting : ColorSettings())
        taken.push_back(ToColor(colors.*setting.member));
    for (const auto& [text, color] : bands) taken.push_back(color);
    bands.emplace(std::string(bare), NextFreeColor(taken));
}

int32_t BandColor(std::string_view faint, std::string_view band, std::string_view valid,
                  const Settings& colors) {
    return ToColor(BandColorValue(faint, band, valid, colors));
}

int32_t BandColor(std::string_view faint, std::string_view band, std::string_view valid,
                  const Settings& colors, const BandColorMap& bands) {
    if (!TrimBlanks(faint).empty() || TrimBlanks(valid) == "D" || bands.empty())
        return BandColor(faint, band, valid, colors);
    const auto given = bands.find(TrimBlanks(band));
    return given != bands.end() ? given->second : BandColor(faint, band, valid, colors);
}

}  // namespace sabrix
