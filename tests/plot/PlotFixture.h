// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the plot tests: a working table in a temporary program folder, rows made
// from a JD, a magnitude and a colour, and pixel scans of a canvas.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "data/ObsTable.h"
#include "plot/Canvas.h"
#include "support/TempTable.h"

namespace sabrix::test {

constexpr int32_t kRed = 255;
constexpr int32_t kGreen = 65280;
constexpr int32_t kBlue = 16711680;
constexpr int32_t kMagenta = 16711935;
constexpr int32_t kWhite = 16777215;
constexpr int32_t kBlack = 0;

inline ObsRow PlotRow(double jd, double mag, int32_t color, const std::string& faint = "") {
    ObsRow r;
    r.JD = jd;
    r.Mag = mag;
    r.PunktFarb = color;
    r.Faint = faint;
    return r;
}

using PlotTable = TempTable;

inline int CountPixels(const Canvas& c, int32_t color) {
    int n = 0;
    for (int y = 0; y < c.pixelHeight(); ++y)
        for (int x = 0; x < c.pixelWidth(); ++x) n += c.pixelColor(x, y) == color;
    return n;
}

// The columns of one pixel row that are not black.
inline std::vector<int> LitColumns(const Canvas& c, int row) {
    std::vector<int> columns;
    for (int x = 0; x < c.pixelWidth(); ++x)
        if (c.pixelColor(x, row) != kBlack) columns.push_back(x);
    return columns;
}

// The rows of one pixel column that are not black.
inline std::vector<int> LitRows(const Canvas& c, int column) {
    std::vector<int> rows;
    for (int y = 0; y < c.pixelHeight(); ++y)
        if (c.pixelColor(column, y) != kBlack) rows.push_back(y);
    return rows;
}

// True when some pixel of the rectangle is not black.
inline bool AnyLit(const Canvas& c, int x0, int y0, int x1, int y1) {
    for (int y = std::max(0, y0); y <= std::min(y1, c.pixelHeight() - 1); ++y)
        for (int x = std::max(0, x0); x <= std::min(x1, c.pixelWidth() - 1); ++x)
            if (c.pixelColor(x, y) != kBlack) return true;
    return false;
}

}  // namespace sabrix::test
