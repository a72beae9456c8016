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

struct PeriodSearchOptions {
    PeriodogramOptions periodogram;
    int peakCount = kListedPeaks;
    SearchMethod method = SearchMethod::LombScargle;
};

struct PeriodSearchResult {
    // For phase dispersion minimisation, power holds theta.
    Periodogram periodogram;
    // The best first: highest power (see FindPeaks), or deepest theta (see FindPdmMinima).
    std::vector<PeriodogramPeak> peaks;
    Weighting weighting = Weighting::Equal;
    SearchMethod method = SearchMethod::LombScargle;
};

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
