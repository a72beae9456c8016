// SPDX-License-Identifier: GPL-3.0-or-later
// The polynomial fit: feeding every observation into a RegressionObject (LoadPoly), and the
// fitted curve over the plot window (PlotPoly), sampled once per day from WinJDLeft to
// WinJDRight whether or not there are observations there (a window wider than a million days
// gets a million samples, evenly spaced from edge to edge), with the brightest and faintest
// point of the curve for the stats window.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/RegressionObject.h"
#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/Canvas.h"

namespace sabrix {

// "Out of memory. Choose lower degree of fit." (title "Memory Error", critical icon).
QString PolyOverflowText();

// Why the degree typed in the dialog is refused before anything is drawn: a number that is
// not whole ("2.5"), which no degree of fit rounds to. Returns nothing for a whole number and
// for a text that is no number at all (ReadDegree reports that one).
std::optional<QString> DegreeRefusal(const QString& text);

// The degree typed in the dialog as the whole number it names ("3.0" is 3). Throws
// SabrixError "Type mismatch" for a text that is not a number, "Overflow" for one beyond the
// 16-bit range, and the text of DegreeRefusal for a number that is not whole.
int32_t ReadDegree(const QString& text);

// A new RegressionObject of the degree fed with every row of the table that `shown` shows
// (x = JD - JDFirst of the view, y = Mag), whatever the window; its x range is theirs.
// Throws RegressionDegreeError for a degree outside 0 to 40 and SabrixError "No current
// record" when no row is shown. Returns null when the object refused a point as an overflow.
std::shared_ptr<RegressionObject> LoadPoly(const ObsTable& table, const PointFilter& shown,
                                           const PlotWindowState& view, int32_t degree);

// One sample of the curve: the day's JD and the curve's magnitude there.
struct PolySample {
    double jd = 0;
    double mag = 0;
};
// The most samples of a curve: 10^6.
constexpr double kMostPolySamples = 1e6;
// The samples of PlotPoly's walk: t = WinJDLeft, WinJDLeft + 1, ... up to WinJDRight while
// that gives at most kMostPolySamples; for a wider window kMostPolySamples samples evenly
// spaced, the first at WinJDLeft and the last at WinJDRight. None for a window whose right
// edge is left of its left one.
std::vector<PolySample> SamplePolyCurve(RegressionObject& regression, const PlotWindowState& view);

// Draws the curve as a white polyline through the samples (magnitudes in single precision) in
// picView's frame. Returns the stats lines "Polynomial", "High Mag. = M  JD = J", "Low Mag. =
// M  JD = J" (the brightest and the faintest sample, the earlier on ties). Throws SabrixError
// "Overflow" when a sample is beyond the single-precision range; nothing is drawn then.
std::vector<QString> PlotPoly(const PlotWindowState& view, RegressionObject& regression,
                              Canvas& picView);

// The curve file: "JD MAG" per sample, both by the general number-to-text conversion, each line
// ended by CR LF.
std::string PolyCurveText(const std::vector<PolySample>& samples);

}  // namespace sabrix
