// SPDX-License-Identifier: GPL-3.0-or-later
// Averages in bins: the observations divided into bins of a fixed number of days from the first
// JD, the mean magnitude and the standard deviation of each non-empty bin, the bin file, the
// brightest and faintest bin, and the drawing of the bins over the light curve.
//
// Bins. With JDFirst 2450000 and a width of 10 days the first bin runs from 2450000 to 2450010,
// the next from 2450010 to 2450020, and so on; both edges belong to the bin, so a row at JD
// 2450010 counts in the first and in the second bin. The edges step by the width and are
// rounded to the shortest text of at most 15 significant digits at each step (as the program
// has always carried them). The walk ends with the bin whose upper edge reaches the right
// edge of the plot window, or once N bins are stored, N = round(JDLast - JDFirst) \ round(w)
// + 1 (100 days, 10-day bins: N = 11).
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "data/ObsTable.h"
#include "plot/Canvas.h"

namespace sabrix {

// The fields of the bins dialog ("Load Bins") as texts.
struct BinDialogFields {
    QString fromJD;
    QString toJD;
    QString binWidth = QStringLiteral("10");
    QString sigma;
    bool printBinFile = false;
    // The averages of the phase plot: the width is a phase, and there is no JD range and no
    // bin file.
    bool phase = false;
};

// The fields the dialog opens with: the data's first and last JD, a width of 10 days, the
// default sigma and "Print Bin File" unchecked.
BinDialogFields InitialBinFields(const AppState& state);

// The averages of the last Enter: for each non-empty bin its middle JD, its mean magnitude and
// its standard deviation; and the number of standard deviations the error bars reach (half
// of it above the mean, half below).
struct Bins {
    std::vector<double> BinJD;
    std::vector<float> BinMag;
    std::vector<float> BinSD;
    int16_t Sigma = 0;
};

// What Enter computes with.
struct BinRequest {
    double width = 10;
    int16_t Sigma = 2;
    bool printBinFile = false;
};

// Reads the fields at Enter. A bin width must be a number of more than half a day (it is
// rounded to whole days for the bin limit); the sigma a whole number from 0 to 32767. Returns
// nothing and sets refusal to the message that says what to type when a field is refused.
std::optional<BinRequest> ReadBinFields(const BinDialogFields& fields, QString& refusal);
// Reads the error bar field alone, as ReadBinFields does.
std::optional<int16_t> ReadSigmaField(const QString& sigma, QString& refusal);

// N of the header. Requires round(width) > 0.
int64_t BinLimit(double jdFirst, double jdLast, double width);

// Computes the bins of the table for the view's JDFirst, JDLast and WinJDRight into BinJD,
// BinMag and BinSD (emptied first; Sigma is left as it is): the mean of a bin is the
// single-precision sum of its magnitudes (in descending JD order) divided by the count, the
// standard deviation the sample standard deviation (0 for one row). Every row that `shown`
// shows counts, whatever the window. Calls progress with the number of bins stored so far after
// each bin. Returns the bin limit N.
int64_t LoadBins(const ObsTable& table, const PointFilter& shown, const PlotWindowState& view,
                 double width, Bins& bins, const std::function<void(int64_t stored)>& progress);

// The first three lines of the bin file, each ended by CR LF: "Bins plotted for   NAME   at
// DATE", an empty line and the column heading.
std::string BinFileHeader(const std::string& starName, const QDateTime& now);
// One line of the bin file for each bin, ended by CR LF: "2454123.5000       9.1234      0.2100".
std::string BinFileLines(const Bins& bins);

// The brightest (smallest) and faintest (largest) BinMag with the BinJD of its bin; on ties the
// earlier bin. The JD of the brightest bin is held in single precision. Requires a bin.
struct HiLoBinMags {
    float hiMag = 0;
    float loMag = 0;
    float hiJD = 0;
    double loJD = 0;
};
HiLoBinMags FindHiLoBinMags(const Bins& bins);
// "Averages", "High Mag. = M  JD = J", "Low Mag. = M  JD = J".
std::vector<QString> BinStatsLines(const HiLoBinMags& hiLo);

// Draws the stored bins in picView's frame (x = JD - JDFirst): a red line through the bin
// means, white error bars of Sigma / 2 standard deviations above and below each drawn bin but
// the first, for bins with JD from WinJDLeft to WinJDRight + 100, and a red dot at the last
// bin of the walk. Returns TooFew with no bin or exactly two (nothing drawn), NothingDrawn with
// one bin, Drawn otherwise.
enum class BinPlotOutcome { Drawn, NothingDrawn, TooFew };
BinPlotOutcome BinPlotter(const PlotWindowState& view, const Bins& bins, Canvas& picView);

// "Too few bins for the number of days in plot."
QString TooFewBinsText();

}  // namespace sabrix
