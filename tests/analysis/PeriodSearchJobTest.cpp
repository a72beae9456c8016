// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "analysis/PeriodSearch.h"
#include "analysis/SyntheticSeries.h"
#include "core/SabrixError.h"

namespace sabrix {
namespace {

using Clock = std::chrono::steady_clock;
using State = PeriodSearchJob::Status::State;

std::shared_ptr<const PeriodData> Data(int n, double days, double period) {
    test::Series s = test::NightlySampling(n, days, 201);
    test::AddSinusoid(s, period, 0.3);
    test::AddNoise(s, 202);
    return std::make_shared<const PeriodData>(s.Prepared());
}

FrequencyGrid Grid(const PeriodData& data, double minPeriod) {
    return *MakeFrequencyGrid({minPeriod, data.span(), 10}, data.span()).grid;
}

TEST(PeriodSearchJob, RunsOffThisThreadAndReportsItsResultOnce) {
    const auto data = Data(300, 2400, 0.5668);
    PeriodSearchJob job;
    EXPECT_EQ(job.Poll().state, State::Idle);
    job.Start(data, Grid(*data, 0.2), {});
    EXPECT_THROW(job.Start(data, Grid(*data, 0.2), {}), SabrixError);
    PeriodSearchJob::Status status = job.Poll();
    double last = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (status.state == State::Running && Clock::now() < deadline) {
        EXPECT_GE(status.fraction, last);
        last = status.fraction;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        status = job.Poll();
    }
    ASSERT_EQ(status.state, State::Done);
    ASSERT_TRUE(status.result.has_value());
    EXPECT_NEAR(status.result->peaks.front().period, 0.5668, 1e-4);
    EXPECT_EQ(status.result->periodogram.power.size(),
              static_cast<size_t>(status.result->periodogram.grid.count));
    EXPECT_EQ(job.Poll().state, State::Idle);
    // Another search may start now.
    job.Start(data, Grid(*data, 1), {});
    EXPECT_EQ(job.Wait().state, State::Done);
}

TEST(PeriodSearchJob, CancelEndsARunningSearchPromptly) {
    // 20,000 observations and 4 x 10^6 frequencies: seconds of work.
    const auto data = Data(20000, 20000, 1.234);
    PeriodSearchJob job;
    job.Start(data, *MakeFrequencyGrid({0.01, data->span(), 2}, data->span()).grid, {});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(job.Poll().state, State::Running);
    const auto asked = Clock::now();
    job.Cancel();
    // Far less than the search's own seconds, with room for a machine busy with other work.
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - asked).count(), 2.0);
    EXPECT_FALSE(job.Running());
    EXPECT_EQ(job.Poll().state, State::Idle);
    // A job destroyed while it runs cancels on its own.
    {
        PeriodSearchJob abandoned;
        abandoned.Start(data, *MakeFrequencyGrid({0.01, data->span(), 2}, data->span()).grid, {});
    }
}

}  // namespace
}  // namespace sabrix
