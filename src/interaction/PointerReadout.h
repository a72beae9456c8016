// The pointer readouts of the status bar (panel 3 the JD, panel 4 the magnitude) while the
// pointer moves over the plot or a scale strip.
#pragma once

#include <QString>
#include <utility>

namespace sabrix {

// Over the plot: "JD = 2455123.4567" (x + jdFirst with seven integer digits and four
// decimals) and "  Mag = 9.12" (y rounded to two decimals).
std::pair<QString, QString> PlotReadout(double x, double y, double jdFirst);
// Over the JD strip: "JD = 2455123" (the JD as a single-precision number) and nothing.
std::pair<QString, QString> JDScaleReadout(double jd);
// Over the magnitude strip: nothing and "Mag = 9.123" (single precision).
std::pair<QString, QString> MagScaleReadout(double mag);

}  // namespace sabrix
