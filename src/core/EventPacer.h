// SPDX-License-Identifier: GPL-3.0-or-later
// Paces the turns that long loops (import, save, plot, and later bins and marking) give the
// event loop: by time, not by rows, so a loop spends the same small share of its time on
// repaints and progress whatever one turn of the event loop costs. With the default interval
// a job of 2 s yields about 100 times, one of 10 ms not at all.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace sabrix {

class EventPacer {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{20};

    // yield is called from tick() once interval has passed since the last call of yield (or
    // since construction). An empty yield makes tick() do nothing. now is the clock, for
    // tests.
    explicit EventPacer(std::function<void()> yield, std::chrono::nanoseconds interval = kInterval,
                        std::function<Clock::time_point()> now = &Clock::now);

    // Called once per row of a long loop. Reads the clock once every kTicksPerLook calls, so
    // a loop of cheap rows pays next to nothing for it.
    void tick() {
        if (!yield_ || ++ticks_ < kTicksPerLook) return;
        ticks_ = 0;
        look();
    }
    // Yields now if the interval has passed, whatever the count of ticks.
    void look();
    // The number of yields so far.
    int64_t yields() const { return yields_; }

    static constexpr int kTicksPerLook = 32;

  private:
    std::function<void()> yield_;
    std::chrono::nanoseconds interval_;
    std::function<Clock::time_point()> now_;
    Clock::time_point last_;
    int ticks_ = 0;
    int64_t yields_ = 0;
};

}  // namespace sabrix
