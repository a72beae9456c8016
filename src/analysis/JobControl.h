// SPDX-License-Identifier: GPL-3.0-or-later
// What a computation running on worker threads shares with the thread that started it: a
// cancel request that the workers look at often, and a count of work done out of an estimated
// total, both atomics, so neither side waits for the other.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace sabrix {

class JobControl {
  public:
    // Asks the workers to stop; they return at their next look (within about 0.1 s).
    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // The work expected, in any unit the job chooses (> 0).
    void SetTotal(int64_t total) { total_.store(std::max<int64_t>(total, 1)); }
    void Advance(int64_t done) { done_.fetch_add(done, std::memory_order_relaxed); }
    // Work done over the total, 0 to 1 (an estimate that fell short stops at 1).
    double fraction() const {
        const double f = static_cast<double>(done_.load(std::memory_order_relaxed)) /
                         static_cast<double>(total_.load(std::memory_order_relaxed));
        return std::min(f, 1.0);
    }

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<int64_t> done_{0};
    std::atomic<int64_t> total_{1};
};

}  // namespace sabrix
