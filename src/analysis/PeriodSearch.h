// SPDX-License-Identifier: GPL-3.0-or-later
// The period search as one job: the periodogram over the grid (and the spectral window on
// request), then its highest peaks refined; run on a thread of its own so the window stays
// responsive, with progress and cancel. The command gathers the observations shown, prepares
// them (PeriodData::Make) and reads the range (ReadPeriodRange) first, so that refusals come
// at once; the job itself only computes.
//
//   PeriodSearchJob job;
//   job.Start(data, grid, options);          // returns at once
//   job.Poll()  -> Running (fraction) ... -> Done (the result) or Failed (the message)
//   job.Cancel()                             // back within about 0.1 s; the job is Idle
#pragma once

#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "analysis/FrequencyGrid.h"
#include "analysis/JobControl.h"
#include "analysis/PeriodData.h"
#include "analysis/Periodogram.h"
#include "analysis/PeriodogramPeaks.h"

namespace sabrix {

// What the search computes over the grid: the generalised Lomb-Scargle periodogram (peaks are
// its maxima) or phase dispersion minimisation's theta (peaks are its minima, see
// PhaseDispersion.h).
enum class SearchMethod { LombScargle, PhaseDispersion };

// The statistic a search computes over the grid. Each gives a power that is high at a likely
// frequency, its peaks, and what is known of their significance.
enum class SearchStatistic { Periodogram };

struct PeriodSearchOptions {
    SearchStatistic statistic = SearchStatistic::Periodogram;
    PeriodogramOptions periodogram;
    int peakCount = kListedPeaks;
    SearchMethod method = SearchMethod::LombScargle;
};

struct PeriodSearchResult {
    // For phase dispersion minimisation, power holds theta.
    Periodogram periodogram;
    // The best first: highest power (see FindPeaks), each with its uncertainty and (one
    // harmonic) false-alarm probability; or deepest theta (see FindPdmMinima).
    std::vector<PeriodogramPeak> peaks;
    Weighting weighting = Weighting::Equal;
    SearchMethod method = SearchMethod::LombScargle;
    int harmonics = 1;
    // The highest power of the grid is at its first or last frequency: the power may go on
    // rising beyond the range searched.
    bool maximumAtEdge = false;
};

// The false-alarm probability above which the highest peak is no detection.
inline constexpr double kSignificantFap = 0.01;
// "No significant period in this range (false-alarm probability 0.35)" when the highest
// peak's false-alarm probability is above kSignificantFap; "" otherwise and without one.
QString NoSignificantPeriodText(const PeriodSearchResult& result);
// "The highest power lies at the edge of the range: the period may be outside it." or "".
QString EdgeMaximumText(const PeriodSearchResult& result);

// The search on this thread and the workers it starts: sets control's total, then advances
// it. Returns nothing when control is cancelled. Throws as ComputePeriodogram.
std::optional<PeriodSearchResult> RunPeriodSearch(const PeriodData& data, const FrequencyGrid& grid,
                                                  const PeriodSearchOptions& options,
                                                  JobControl& control);

class PeriodSearchJob {
  public:
    PeriodSearchJob() = default;
    // Cancels a running search and waits for its thread.
    ~PeriodSearchJob();
    PeriodSearchJob(const PeriodSearchJob&) = delete;
    PeriodSearchJob& operator=(const PeriodSearchJob&) = delete;

    // Starts RunPeriodSearch on a thread of its own. Throws SabrixError when a search has
    // been started and not yet reported by Poll (or cancelled).
    void Start(std::shared_ptr<const PeriodData> data, const FrequencyGrid& grid,
               const PeriodSearchOptions& options);

    struct Status {
        enum class State { Idle, Running, Done, Failed };
        State state = State::Idle;
        // Running: the share of the work done, 0 to 1.
        double fraction = 0;
        // Done: the result (moved out to the caller).
        std::optional<PeriodSearchResult> result;
        // Failed: what to tell the user (memory ran out, or the FFT could not be planned).
        QString failure;
    };
    // Running while the thread computes; once it has ended, Done or Failed, reported once, and
    // Idle afterwards. Never blocks for longer than the end of a finished thread.
    Status Poll();
    // Waits for the search to end, then as Poll.
    Status Wait();
    // Stops a running search and waits for its thread (about 0.1 s at most); the job is then
    // Idle and its result dropped. Does nothing when no search runs.
    void Cancel();
    bool Running() const { return thread_.joinable(); }

  private:
    Status Collect();

    std::thread thread_;
    std::unique_ptr<JobControl> control_;
    std::atomic<bool> finished_{false};
    std::optional<PeriodSearchResult> result_;
    QString failure_;
};

}  // namespace sabrix
