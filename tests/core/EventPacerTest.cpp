// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "core/EventPacer.h"

namespace sabrix {
namespace {

using namespace std::chrono_literals;

// A clock that moves only when the test moves it, and counts how often it is read.
struct FakeClock {
    EventPacer::Clock::time_point now{};
    int reads = 0;
    std::function<EventPacer::Clock::time_point()> function() {
        return [this] {
            ++reads;
            return now;
        };
    }
};

// One look at the clock: the ticks that make the pacer read it.
void Look(EventPacer& pacer) {
    for (int i = 0; i < EventPacer::kTicksPerLook; ++i) pacer.tick();
}

TEST(EventPacer, YieldsOnlyOnceTheIntervalHasPassedSinceTheLastYield) {
    FakeClock clock;
    int yields = 0;
    EventPacer pacer([&] { ++yields; }, 20ms, clock.function());
    clock.now += 19ms;
    Look(pacer);
    EXPECT_EQ(yields, 0);
    clock.now += 1ms;
    Look(pacer);
    EXPECT_EQ(yields, 1);
    Look(pacer);  // no time has passed since that yield
    EXPECT_EQ(yields, 1);
    clock.now += 20ms;
    Look(pacer);
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(pacer.yields(), 2);
}

TEST(EventPacer, TheIntervalCountsFromTheEndOfTheLastYield) {
    FakeClock clock;
    // Each turn of the event loop takes 15 ms, a slow repaint.
    EventPacer pacer([&] { clock.now += 15ms; }, 20ms, clock.function());
    clock.now += 20ms;
    Look(pacer);
    ASSERT_EQ(pacer.yields(), 1);
    clock.now += 19ms;  // 34 ms after the yield began, 19 ms after it ended
    Look(pacer);
    EXPECT_EQ(pacer.yields(), 1);
    clock.now += 1ms;
    Look(pacer);
    EXPECT_EQ(pacer.yields(), 2);
}

TEST(EventPacer, AnEmptyYieldMakesTicksCostNothing) {
    FakeClock clock;
    EventPacer pacer({}, 20ms, clock.function());
    const int atStart = clock.reads;
    clock.now += 1s;
    for (int i = 0; i < 10 * EventPacer::kTicksPerLook; ++i) pacer.tick();
    pacer.look();
    EXPECT_EQ(clock.reads, atStart);
    EXPECT_EQ(pacer.yields(), 0);
}

}  // namespace
}  // namespace sabrix
