// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the band panel: which lines, in which order, with which swatch and check.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "plot/BandLines.h"

namespace sabrix {
namespace {

PlotColumns Columns(const std::vector<std::tuple<std::string, bool, bool>>& points) {
    PlotColumns::Builder builder;
    int64_t id = 0;
    for (const auto& [band, faint, discrepant] : points) {
        ObsPoint p;
        p.ID = ++id;
        p.JD = static_cast<double>(id);
        p.faint = faint;
        p.discrepant = discrepant;
        builder.Add(p, band, "ABC");
    }
    return std::move(builder).Build();
}

using Seen = std::tuple<BandLine::Kind, std::string, QString, int32_t, int64_t, bool>;

std::vector<Seen> Seen_(const std::vector<BandLine>& lines) {
    std::vector<Seen> seen;
    for (const BandLine& l : lines)
        seen.emplace_back(l.kind, l.band, l.label, l.color, l.count, l.shown);
    return seen;
}

TEST(BandLines, BandsByCountThenTheKindsWithTheirColoursAndChoices) {
    AppState state;
    state.settings.ColorVIS = 1;
    state.settings.ColorV = 2;
    state.settings.ColorB = 3;
    state.settings.ColorFAINT = 4;
    state.settings.ColorDISC = 5;
    state.settings.ColorNA = 6;
    state.star.HiddenBands = {"B"};
    state.overlay.OmitDiscrepant = true;
    // Bands are trimmed; an empty band gets a label of its own. A discrepant observation
    // counts under "Discrepant" alone (the lines add up to the 7 points), so the band whose
    // only observation is discrepant has no line.
    const PlotColumns columns = Columns({{" V ", false, false},
                                         {"B", false, false},
                                         {"V", true, false},
                                         {"Vis.", false, true},
                                         {"B", false, false},
                                         {"", false, false},
                                         {"V", false, true}});
    using K = BandLine::Kind;
    EXPECT_EQ(Seen_(BandLines(columns, state)),
              (std::vector<Seen>{{K::Band, "B", "B", 3, 2, false},
                                 {K::Band, "V", "V", 2, 2, true},
                                 {K::Band, "", "(no band)", 6, 1, true},
                                 {K::FainterThan, "", "Fainter-than estimates", 4, 1, true},
                                 {K::Discrepant, "", "Discrepant", 5, 2, false}}));

    // A new colour shows in the swatch; a three-column file's one band is one line.
    state.settings.ColorNA = 7;
    EXPECT_EQ(Seen_(BandLines(Columns({{"", false, false}, {"", false, false}}), state)),
              (std::vector<Seen>{{K::Band, "", "(no band)", 7, 2, true}}));
    // The swatch is what the points are drawn in: the colour the load gave a band without a
    // rule, and the one colour of a three-column file's points.
    state.star.BandColors = {{"TB", 9}};
    EXPECT_EQ(Seen_(BandLines(Columns({{"TB", false, false}}), state)),
              (std::vector<Seen>{{K::Band, "TB", "TB", 9, 1, true}}));
    state.star.ThreeColumnFormat = true;
    state.overlay.DefaultPointColor = 8;
    EXPECT_EQ(Seen_(BandLines(Columns({{"", false, false}}), state)),
              (std::vector<Seen>{{K::Band, "", "(no band)", 8, 1, true}}));
    EXPECT_TRUE(BandLines(PlotColumns(), state).empty());
}

}  // namespace
}  // namespace sabrix
