// SPDX-License-Identifier: GPL-3.0-or-later
// The period search window without its widgets: the observations searched, the periodogram of
// each step (the data, then the residuals after each period removed), the peaks listed, the
// peak chosen, the picture's axis and zoom, and the texts the window shows. The command layer
// keeps one while the window is open, runs the computations it asks for as jobs, and hands its
// PeriodogramWindowView to the window (frmPeriodogram), which reports the user's actions as
// PeriodogramEvents.
//
// Steps. Step 0 is the periodogram of the observations. "Remove this period" fits the sinusoid
// of the chosen peak to the current magnitudes, subtracts it (a copy: the table is never
// changed) and asks for the periodogram of the residuals, step 1; and so on. "Back one step"
// forgets the last removal and shows the step before it again, which is kept.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/FrequencyGrid.h"
#include "analysis/PeriodData.h"
#include "analysis/PeriodSearch.h"
#include "analysis/PeriodogramPlot.h"
#include "analysis/PhaseFolding.h"
#include "analysis/Prewhitening.h"
#include "plot/Canvas.h"
#include "plot/PhasePlot.h"

namespace sabrix {

// The observations of a search: time, magnitude, uncertainty (0 when none) and row ID of each,
// and the JD range of the light curve they were taken from.
struct PeriodObservations {
    std::vector<double> times;
    std::vector<double> mags;
    std::vector<double> sigmas;
    std::vector<int64_t> ids;
    double jdLeft = 0;
    double jdRight = 0;
    // The observations are of more than one band.
    bool severalBands = false;
};

// What frmPeriodogram shows.
struct PeriodogramWindowView {
    QString title;
    // How many observations over which JDs, and the weighting used.
    QString summary;
    // What the picture shows: "Periodogram of the observations", "... of the residuals after
    // 2 periods removed".
    QString heading;
    QString axisCaption;
    // What the y axis and the table's third column hold: "Power", or "Theta (smaller is
    // better)" for phase dispersion.
    QString valueCaption = QStringLiteral("Power");
    bool periodAxis = false;
    bool windowShown = false;
    // The window function was computed (not for phase dispersion).
    bool windowAvailable = true;
    // Each peak: period (d), frequency (c/d), power, semi-amplitude (mag), false-alarm
    // probability ("" for several harmonics), uncertainty of the period (d), as texts.
    std::vector<std::array<QString, 6>> peaks;
    // What the window says under the table: no significant period, a maximum at the edge of
    // the range, several bands; each a sentence.
    std::vector<QString> notes;
    // The harmonics of the model of a chosen period (1 to 6), whether it is drawn, and what it
    // is: "Model of P = 0.5668 d, 4 harmonics: 0.812 mag peak to peak, maximum at JD
    // 2450001.2345, rms 0.021 mag"; "" without a chosen period.
    int modelHarmonics = 1;
    bool modelShown = true;
    QString model;
    int chosen = -1;
    // The period field as the choice of a peak fills it (the window leaves the field alone
    // while this text stays the same, so typing in it is not undone).
    QString foldPeriod;
    // One line for each period removed, the first first.
    std::vector<QString> removed;
    bool canRemove = false;
    bool canStepBack = false;
    bool canExport = false;
    // A computation runs: its caption and progress (0 to 1); the actions wait for it.
    bool computing = false;
    QString progressCaption;
    double progress = 0;
    // Draws the picture on the three surfaces (the plot, the scale across above it, the power
    // scale at its right) and returns its label; null while there is nothing to draw.
    std::function<QString(Canvas& plot, Canvas& across, Canvas& power)> draw;
};

// What the user did in frmPeriodogram.
struct PeriodogramEvent {
    enum class Kind {
        FrequencyAxis,  // the toggle set to frequency
        PeriodAxis,     // the toggle set to period
        Window,         // "Show window function" ticked or not (checked)
        Reset,
        ZoomBox,     // a box dragged on the picture, corners in the plot's frame
        ChoosePeak,  // a click on a line of the table (peak)
        FoldPeak,    // a double-click on a line of the table (peak)
        Fold,        // "Phase Plot" with the period and epoch fields
        Remove,      // "Remove this period"
        StepBack,    // "Back one step"
        ExportCsv,
        ExportImage,
        Cancel,          // the computation's Cancel, or Escape while it runs
        Close,           // Close, Escape, the close box
        ModelHarmonics,  // the model's harmonics set to `harmonics`
        ShowModel,       // "Draw the model" ticked or not (checked)
    };
    Kind kind = Kind::Close;
    bool checked = false;
    int peak = -1;
    int harmonics = 1;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString period{};
    QString epoch{};
};

class PeriodAnalysis {
  public:
    // Starts with nothing computed: the caller runs the search of CurrentData() over grid,
    // a periodogram of `harmonics` harmonics (also those of the model at first). The window
    // names the times with timeOffset added (the star's TimeOffset).
    PeriodAnalysis(QString starName, PeriodObservations observations, bool useUncertainties,
                   const FrequencyGrid& grid, double timeOffset = 0, int harmonics = 1,
                   SearchMethod method = SearchMethod::LombScargle);
    SearchMethod method() const { return method_; }

    const FrequencyGrid& grid() const { return grid_; }
    const PeriodObservations& observations() const { return observations_; }
    // The prepared data of the current step (the observations, or the residuals after the
    // periods removed). Refused as PeriodData::Make refuses.
    PeriodDataOutcome CurrentData() const;
    PeriodSearchOptions SearchOptions() const;
    // The step that waits for its periodogram: 0 at first, the number of periods removed
    // after a removal; nothing while every step has its periodogram.
    bool AwaitsResult() const { return results_.size() <= history_.removed().size(); }

    // The search of the awaited step has ended: its periodogram is shown whole, its highest
    // peak chosen.
    void Adopt(PeriodSearchResult result);
    // The search of the awaited step was cancelled or failed: a removal is undone (the step
    // before is shown again). Returns false when it was step 0, so there is nothing to show.
    bool Abandon();

    // The current step's result; null while it is awaited.
    const PeriodSearchResult* current() const;

    void SetAxis(PeriodogramAxis axis) { plot_.SetAxis(axis); }
    void ShowWindow(bool shown) { windowShown_ = shown; }
    // Back to the whole periodogram.
    void ResetView();
    // As PeriodogramPlot::ZoomToBox; false while nothing is shown.
    bool ZoomToBox(double x1, double y1, double x2, double y2);
    // Chooses a listed peak; one outside the list chooses none.
    void ChoosePeak(int peak);
    std::optional<PeriodogramPeak> ChosenPeak() const;

    // The model's harmonics (1 to kMaxHarmonics) and whether it is drawn.
    void SetModelHarmonics(int harmonics);
    int modelHarmonics() const { return modelHarmonics_; }
    void ShowModel(bool shown) { modelShown_ = shown; }
    bool modelShown() const { return modelShown_; }
    // The model of the period (days) fitted to the observations (not to residuals), with the
    // model's harmonics; nothing when the observations give none.
    std::optional<FourierModel> ModelOf(double period) const;

    // Removes the chosen peak's model from the current magnitudes; the residuals then await
    // their periodogram. Returns the refusal (nothing changed) when no peak is chosen, a result
    // is awaited, or the residuals could not be prepared; an empty text on success.
    QString RemoveChosen();
    // Undoes the last removal, showing the step before it with the removed period's peak
    // chosen again. False when none was made.
    bool StepBack();

    // The periods removed so far (days, the first first) and the residuals they leave of each
    // observation searched; no residual before the first removal.
    std::vector<double> RemovedPeriods() const;
    std::vector<Residual> Residuals() const;

    // The epoch of the phase plot when none is typed: the time of the brightest observation.
    double DefaultEpoch() const;
    // Reads the period and epoch fields (an empty epoch: DefaultEpoch()).
    FoldOutcome ReadFold(const QString& period, const QString& epoch) const;

    // The window's view; while computing, with that caption and progress.
    PeriodogramWindowView View(bool computing, const QString& caption, double progress) const;
    // Draws the current step on the surfaces and returns the picture's label ("R LEO -
    // periodogram of the observations, power against frequency (cycles/day)"). Draws the
    // scales alone while the step is awaited.
    QString Draw(Canvas& plot, Canvas& across, Canvas& power) const;

  private:
    QString starName_;
    PeriodObservations observations_;
    bool useUncertainties_;
    FrequencyGrid grid_;
    double timeOffset_;
    SearchMethod method_;
    PrewhiteningHistory history_;
    // One result for each step computed, step 0 first.
    std::vector<std::shared_ptr<const PeriodSearchResult>> results_;
    PeriodogramPlot plot_;
    bool windowShown_ = false;
    int chosen_ = -1;
    int harmonics_ = 1;
    int modelHarmonics_ = 1;
    bool modelShown_ = true;
    // ModelText of the model of a period, with the harmonics it was fitted with.
    QString ModelTextOf(double period) const;
    struct ModelTextCache {
        double period;
        int harmonics;
        QString text;
    };
    mutable std::optional<ModelTextCache> modelText_;
};

// "Model of P = 0.5668 d, 4 harmonics: 0.812 mag peak to peak, maximum at JD 2450001.2345,
// rms 0.021 mag" (the JD with timeOffset added).
QString ModelText(const FourierModel& model, const ModelShape& shape, double timeOffset);

// The weighting used, as the window says it: by 1/sigma^2, or equal weights and why.
QString WeightingText(Weighting weighting, bool asked);

}  // namespace sabrix
