// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <tuple>

#include "interaction/PlotMouse.h"
#include "plot/PointerReadout.h"

namespace sabrix {

static bool operator==(const PressDecision& a, const PressDecision& b) {
    return a.tool == b.tool && a.action == b.action;
}

static void PrintTo(const PressDecision& d, std::ostream* os) {
    *os << "{tool " << static_cast<int>(d.tool) << ", action " << static_cast<int>(d.action) << "}";
}

namespace {

using A = PressAction;
using T = Tool;

TEST(DecidePress, FollowsTheToolTheButtonAndTheShiftState) {
    // Shift states in the order of each row's decisions: none, Ctrl, Shift, Alt, Ctrl+Shift.
    constexpr std::array<int, 5> kShifts = {0, 2, 1, 4, 3};
    const PressDecision locate{T::Locate, A::Locate};
    const PressDecision select{T::Box, A::StartSelectDrag};
    const PressDecision zoomBox{T::ZoomBox, A::StartZoomDrag};
    const struct {
        Tool tool;
        int button;
        std::array<PressDecision, 5> want;
    } cases[] = {
        // Outside the zoom tools a right press selects and Ctrl alone zooms to a box; the
        // locate tool locates with any other press.
        {T::Locate, 1, {locate, zoomBox, locate, locate, locate}},
        {T::Locate, 2, {select, zoomBox, select, select, select}},
        {T::Locate, 4, {locate, zoomBox, locate, locate, locate}},
        {T::Box, 1, {select, zoomBox, select, select, select}},
        {T::Box, 2, {select, zoomBox, select, select, select}},
        {T::Box, 4, {select, zoomBox, select, select, select}},
        {T::ZoomBox, 1, {zoomBox, zoomBox, zoomBox, zoomBox, zoomBox}},
        {T::ZoomBox, 2, {select, zoomBox, select, select, select}},
        {T::ZoomBox, 4, {zoomBox, zoomBox, zoomBox, zoomBox, zoomBox}},
    };
    for (const auto& c : cases)
        for (size_t i = 0; i < kShifts.size(); ++i)
            EXPECT_EQ(DecidePress(c.tool, c.button, kShifts[i]), c.want[i])
                << "tool " << static_cast<int>(c.tool) << ", button " << c.button << ", shift "
                << kShifts[i];
}

TEST(DecidePress, AZoomToolZoomsInOnTheLeftOutOnTheRightAndKeepsItsToolWhateverTheShift) {
    const struct {
        Tool tool;
        std::array<PressAction, 3> want;  // buttons 1, 2, 4
    } cases[] = {
        {T::Magnify, {A::MagnifyIn, A::MagnifyOut, A::None}},
        {T::JDZoom, {A::JDZoomIn, A::JDZoomOut, A::None}},
        {T::MagZoom, {A::MagZoomIn, A::MagZoomOut, A::None}},
    };
    constexpr std::array<int, 3> kButtons = {1, 2, 4};
    for (const auto& c : cases)
        for (size_t b = 0; b < kButtons.size(); ++b)
            for (const int shift : {0, 2, 1, 4, 3})
                EXPECT_EQ(DecidePress(c.tool, kButtons[b], shift),
                          (PressDecision{c.tool, c.want[b]}))
                    << "tool " << static_cast<int>(c.tool) << ", button " << kButtons[b]
                    << ", shift " << shift;
}

TEST(PointerReadout, ShowsThePlotPointWithFourDecimalsOfJDAndTwoOfMagnitude) {
    const struct {
        double x, y, jdFirst;
        const char* jd;
        const char* mag;
    } cases[] = {
        {0.1234, 9.123, 2455000, "JD = 2455000.1234", "  Mag = 9.12"},
        {-3.5, 10, 2455000, "JD = 2454996.5000", "  Mag = 10"},
        {123.45678, 9.125, 2455000, "JD = 2455123.4568", "  Mag = 9.12"},
        {5, 7.999, 100, "JD = 0000105.0000", "  Mag = 8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlotReadout(c.x, c.y, c.jdFirst), std::make_pair(QString(c.jd), QString(c.mag)))
            << c.x << ", " << c.y;
}

TEST(PointerReadout, PhasePlotShowsThePhaseWithThreeDecimals) {
    EXPECT_EQ(PhasePlotReadout(0.7534, 9.123, -0.5),
              std::make_pair(QString("Phase = 0.253"), QString("  Mag = 9.12")));
    EXPECT_EQ(PhaseScaleReadout(-0.0001).first, "Phase = 0");
    EXPECT_EQ(PhaseScaleReadout(1.25).first, "Phase = 1.25");
}

TEST(PointerReadout, CalendarDatesAddTheDateAndTimeAfterTheJD) {
    EXPECT_EQ(PlotReadout(0.25, 9.123, 2451545, true).first,
              QString("JD = 2451545.2500  2000-01-01 18:00 UTC"));
    EXPECT_EQ(PlotReadout(0, 9, 2299160.5, true).first,
              QString("JD = 2299160.5000  1582-10-15 00:00 UTC"));
    EXPECT_EQ(JDScaleReadout(2451545.75, true),
              std::make_pair(QString("JD = 2451546  2000-01-02 06:00 UTC"), QString()));
    // Beyond the calendar the JD stands alone.
    EXPECT_EQ(JDScaleReadout(1e13, true).first, JDScaleReadout(1e13).first);
}

}  // namespace
}  // namespace sabrix
