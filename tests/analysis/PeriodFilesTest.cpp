// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "analysis/PeriodFiles.h"
#include "core/SabrixError.h"
#include "support/FailingDevice.h"

namespace sabrix {
namespace {

TEST(PeriodFiles, PeriodogramCsvHasAHeaderAndFrequencyPeriodPowerPerGridFrequency) {
    Periodogram p;
    p.grid = {0.25, 0.25, 3};
    p.power = {0.5, 0.125, 0.912};
    test::FailingDevice out(1 << 20);
    WritePeriodogramCsv(p, out);
    EXPECT_EQ(
        out.written(),
        "frequency,period,power\r\n0.25,4,0.5\r\n0.5,2,0.125\r\n0.75,1.33333333333333,0.912\r\n");
    test::FailingDevice full(30);
    EXPECT_THROW(WritePeriodogramCsv(p, full), SabrixError);
}

TEST(PeriodFiles, PhaseTableGivesEachObservationsPhaseInZeroToOneWithSixDecimals) {
    // Period 2 d from JD 1000: 1000.5 is phase 0.25; 1001.9999999 rounds to 1.000000, which is
    // phase 0.
    const std::vector<double> t{1000.5, 1003.5, 1001.9999999};
    const std::vector<double> mag{10.43, 9.5, 11};
    test::FailingDevice out(1 << 20);
    WritePhaseTable(t, mag, 1000, 2, out);
    EXPECT_EQ(out.written(), "0.250000 10.43\r\n0.750000 9.5\r\n0.000000 11\r\n");
}

}  // namespace
}  // namespace sabrix
