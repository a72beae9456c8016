// SPDX-License-Identifier: GPL-3.0-or-later
// The phase plot: the mode of the plot window in which x is the phase of each observation for a
// period and an epoch instead of its JD, two cycles wide, so that a periodic light curve shows
// its shape once with the ends repeated. The same plotter draws it (Plotter.h), with the same
// colours and marks; the observations are those the light curve showed when the phase plot was
// chosen.
//
// phase = frac((t - E) / P), in [0, 1). With P = 0.5 d and E = 2450000.1, an observation at
// 2450001.35 is 2.5 cycles after E: phase 0.5. The plot shows -0.5 to 1.5, so each
// observation is drawn twice: at its phase p and at p + 1 when p < 0.5, else at p - 1.
//
// Frame (PlotFrame.h). The phase plot's window is a PlotWindowState whose x members hold
// phases: JDFirst -0.5 and JDLast 1.5 are the extent, with no margin, so the zoom tools, the
// zoom box and Scaler work on it as on a light curve; picView's x is then phase + 0.5 and the
// x strip shows phases.
//
// Residuals. After periods have been removed in the period search, the phase plot may show the
// residuals of the observations searched instead of their magnitudes: each drawn at its
// residual, the window's magnitudes fitted to them, the label saying which periods were
// removed ("residuals after 4.0478526 d").
#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "plot/Canvas.h"
#include "plot/PlotFrame.h"
#include "plot/ScaleTicks.h"

namespace sabrix {

// What the phase plot folds: the period and epoch, and the JD range of the light curve whose
// observations it shows.
struct PhaseFold {
    double period = 1;  // days, > 0
    double epoch = 0;   // the JD of phase 0
    double jdLeft = 0;
    double jdRight = 0;
};

inline constexpr double kPhasePlotLeft = -0.5;
inline constexpr double kPhasePlotRight = 1.5;

// frac((t - epoch) / period) in [0, 1); period > 0.
double FoldPhase(double t, double epoch, double period);

// Where the second copy of an observation at phase p (in [0, 1)) is drawn: p + 1 when
// p < 0.5, else p - 1, so that the two copies cover [-0.5, 1.5).
inline double OtherCyclePhase(double phase) {
    return phase < 0.5 ? phase + 1 : phase - 1;
}

// The phase plot's window for the light curve's window: phases -0.5 to 1.5 as its extent and
// window (JD factor 1, no JD margin), the magnitudes and their factor as the light curve shows
// them.
PlotWindowState PhaseWindow(const PlotWindowState& timeView);

// A period as the phase plot's label and the period search show it: rounded to 7 decimals, no
// trailing zeros ("4.0478526", "0.5", "12").
QString PeriodText(double period);

// Clears the JD strip and draws the phase scale of the view's window on it, as the JD strip
// draws its ticks: a linear scale (LayOutLinearScale), so a tenth of a cycle between labels
// on the whole window at 800 pixels, a fifth at 400, finer when zoomed in.
void WritePhaseScale(Canvas& picJDScale, const PlotWindowState& view);

// A residual of the period search: the observation's ID and its magnitude less the sinusoids
// removed.
struct Residual {
    int64_t id = 0;
    double mag = 0;
};

class PhaseFrame final : public PlotFrame {
  public:
    explicit PhaseFrame(const PhaseFold& fold) : fold_(fold) {}
    // The residuals (any order) after the periods removed (days, the first first).
    PhaseFrame(const PhaseFold& fold, std::vector<Residual> residuals,
               const std::vector<double>& removedPeriods);

    const PhaseFold& fold() const { return fold_; }

    std::pair<double, double> RowsFor(double, double) const override {
        return {fold_.jdLeft, fold_.jdRight};
    }
    FramePlace Place(const ObsPoint& point) const override;
    PlotWindowState WholeWindow(const PlotWindowState& lightCurve) const override;
    void WriteScale(Canvas& picJDScale, const AppState& state) const override;
    // "NAME - P = 4.0478526 d"; with residuals "NAME - P = 2.1 d, residuals after 4.0478526 d".
    QString Label(const QString& starName, int64_t points) const override;
    std::pair<QString, QString> Readout(double x, double y, const AppState& state) const override;
    QString ScaleReadout(double x, const AppState& state) const override;
    // "Phase = 0.253": the observation's own phase.
    QString PlaceText(const ObsPoint& point, const FramePlace& place) const override;
    bool StepsAcross() const override { return false; }
    bool JoinsMarks() const override { return false; }
    bool Cyclic() const override { return true; }

  private:
    PhaseFold fold_;
    // By ID; empty: the magnitudes as stored.
    std::vector<Residual> residuals_;
    QString removed_;
};

}  // namespace sabrix
