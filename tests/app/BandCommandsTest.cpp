// SPDX-License-Identifier: GPL-3.0-or-later
// The band panel's commands and Omit discrepant: what is hidden leaves every reader of the
// shown observations, and the choice lasts as long as the star.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "analysis/Bins.h"
#include "interaction/RecordList.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using test::DataLine;
using Msg = test::RecordedMessage;

// One observation of Z UMa, its validation flag set.
std::string Line(const std::string& jd, const std::string& mag, const std::string& band,
                 const std::string& valid = "") {
    std::string line = DataLine(jd, mag, band, "Z UMa");
    // The validation flag is the 14th field.
    size_t at = 0;
    for (int field = 0; field < 13; ++field) at = line.find(',', at) + 1;
    return line.insert(at, valid);
}

class BandCommands : public test::CommandsFixture {
  protected:
    // Two V rows (the second discrepant), two visual estimates (one fainter-than) and the
    // faintest and latest row in B.
    std::string WriteZUMa() {
        return WriteFile("zuma.txt",
                         {Line("2454100.5", "9.0", "V"), Line("2454110.5", "10.0", "Vis."),
                          Line("2454120.5", "<11.0", "Vis."), Line("2454130.5", "10.5", "V", "D"),
                          Line("2454150.5", "12.0", "B")});
    }
    QString Label(int points) const {
        return QStringLiteral("Z UMA - (") + QString::number(points) + QStringLiteral(" Points)");
    }
};

TEST_F(BandCommands, AHiddenBandLeavesThePlotTheWindowTheStatsSelectionBinsTheFitAndExport) {
    LoadAndFill(WriteZUMa());
    const QByteArray everyBand = commands->Run(cmd::PlotImageOf, PlotImageFormat::Png, 300, 200);
    commands->Run(cmd::lstBands_ItemCheck, "B", false);
    EXPECT_EQ(view().starLabel, Label(4));
    EXPECT_EQ(commands->Run(cmd::PlotImageOf, PlotImageFormat::Png, 300, 200) == everyBand, false);

    // Reset fits the window to the rows shown: the B row was the latest and the faintest.
    commands->Run(cmd::cmdReset_Click);
    EXPECT_EQ(state().view.WinJDRight, 2454130.5 + 5);
    EXPECT_EQ(state().view.WinMagBottom, static_cast<double>(11.0f) + 0.5);

    commands->Run(cmd::mnuStats_Click);
    ASSERT_EQ(view().statsLines.size(), 2u);
    EXPECT_EQ(view().statsLines[1], QString("Low Mag. = 11   JD = 2454120.5"));

    commands->Run(cmd::BoxFinder, -1000, 0, 1000, 20);
    ASSERT_TRUE(commands->recordList());
    EXPECT_EQ(commands->recordList()->Ids(), (std::vector<int64_t>{1, 2, 3, 4}));
    commands->Run(cmd::cmdClose_Click);

    // One bin over everything and a fit of degree 0: both the mean of the four rows shown.
    BinDialogFields fields = InitialBinFields(state());
    fields.binWidth = QStringLiteral("1000");
    ASSERT_TRUE(commands->Run(cmd::EnterBins, fields));
    ASSERT_EQ(commands->bins().BinMag.size(), 1u);
    EXPECT_FLOAT_EQ(commands->bins().BinMag[0], 10.125f);
    ASSERT_TRUE(commands->Run(cmd::PlotPolyFit, QStringLiteral("0")));
    ASSERT_FALSE(commands->PolyCurve().empty());
    EXPECT_NEAR(commands->PolyCurve().front().mag, 10.125, 1e-9);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BandCommands, OnlyThisBandAllBandsAndTheChoiceIsForgottenWithTheStar) {
    LoadAndFill(WriteZUMa());
    commands->Run(cmd::lstBands_DblClick, "Vis.");
    EXPECT_EQ(state().star.HiddenBands, (std::set<std::string>{"B", "V"}));
    EXPECT_EQ(view().starLabel, Label(2));
    // The panel's lines: the most observed band first (the discrepant V row counts under
    // Discrepant only, so V ties with B), then the two kinds of observation.
    std::vector<std::pair<QString, bool>> lines;
    for (const BandLine& line : view().bandLines) lines.emplace_back(line.label, line.shown);
    EXPECT_EQ(lines, (std::vector<std::pair<QString, bool>>{{"Vis.", true},
                                                            {"B", false},
                                                            {"V", false},
                                                            {"Fainter-than estimates", true},
                                                            {"Discrepant", true}}));

    // Hiding a band keeps the view and takes away the averages made of the others.
    ASSERT_TRUE(commands->Run(cmd::EnterBins, InitialBinFields(state())));
    commands->Run(cmd::ShowWindow, 2454095, 2454125, 8, 12);
    ASSERT_TRUE(binsShown());
    commands->Run(cmd::cmdAllBands_Click);
    EXPECT_EQ(view().starLabel, Label(3));
    EXPECT_EQ(state().view.WinJDLeft, 2454095);
    EXPECT_FALSE(binsShown());

    commands->Run(cmd::lstBands_ItemCheck, "V", false);
    EXPECT_EQ(view().starLabel, Label(2));
    LoadAndFill(WriteZUMa());
    EXPECT_TRUE(state().star.HiddenBands.empty());
    EXPECT_EQ(view().starLabel, Label(5));
    commands->Run(cmd::lstBands_ItemCheck, "V", false);
    commands->Run(cmd::UnloadStar);
    EXPECT_TRUE(state().star.HiddenBands.empty());
    EXPECT_TRUE(view().bandLines.empty());
}

TEST_F(BandCommands, EveryBandHiddenThenAZoomAndResetLeaveAnEmptyPlotWhereTheDataAre) {
    LoadAndFill(WriteZUMa());
    for (const char* band : {"V", "Vis.", "B"}) commands->Run(cmd::lstBands_ItemCheck, band, false);
    const QString empty = QStringLiteral("Z UMa - (0 Points)");
    EXPECT_EQ(view().starLabel, empty);
    commands->Run(cmd::cmdMag_Click);
    commands->Run(cmd::picView_MouseDown, 1, 0, 20, 10);
    EXPECT_EQ(view().starLabel, empty);
    commands->Run(cmd::cmdReset_Click);
    const PlotWindowState& v = state().view;
    EXPECT_EQ(v.JDMagnification, 1.0f);
    // Nothing shown to fit: the window around every row, so showing a band shows its rows.
    EXPECT_LE(v.WinJDLeft, 2454100.5);
    EXPECT_GE(v.WinJDRight, 2454150.5);
    EXPECT_LT(v.WinMagTop, v.WinMagBottom);
    EXPECT_TRUE(prompts.messages.empty());
    commands->Run(cmd::cmdAllBands_Click);
    EXPECT_EQ(view().starLabel, Label(5));
}

TEST_F(BandCommands, OmitDiscrepantNeedsAStarThenTogglesAndOutlivesALoad) {
    commands->Run(cmd::mnuDisc_Click);
    EXPECT_FALSE(state().overlay.OmitDiscrepant || view().omitDiscrepantChecked);
    EXPECT_EQ(prompts.messages, (std::vector<Msg>{{"No star file is loaded.", "No Star Loaded",
                                                   Buttons::OK, Icon::Critical}}));
    prompts.messages.clear();

    LoadAndFill(WriteZUMa());
    commands->Run(cmd::mnuDisc_Click);
    EXPECT_TRUE(state().overlay.OmitDiscrepant && view().omitDiscrepantChecked);
    EXPECT_EQ(view().starLabel, Label(4));
    EXPECT_FALSE(view().bandLines.back().shown);
    // With the fainter-thans also omitted only the plain rows are left.
    commands->Run(cmd::mnuFaint_Click);
    EXPECT_EQ(view().starLabel, Label(3));
    LoadAndFill(WriteZUMa());
    EXPECT_EQ(view().starLabel, Label(3));
    commands->Run(cmd::mnuDisc_Click);
    EXPECT_EQ(view().starLabel, Label(4));
}

TEST_F(BandCommands, TheTipNamesTheShownObservationUnderThePointer) {
    LoadAndFill(WriteZUMa());
    const double jdFirst = state().view.JDFirst;
    // A pixel beside the B row: its details; nothing far from every row, or once B is hidden.
    const double pixel = picView.PixelsToUserX(1);
    const std::optional<QString> tip =
        commands->Run(cmd::PointTip, 2454150.5 - jdFirst + pixel, 12.0);
    ASSERT_TRUE(tip);
    EXPECT_TRUE(tip->startsWith("JD 2454150.5  (2007-02-19 00:00 UTC)\nMagnitude 12\nBand B"))
        << tip->toStdString();
    EXPECT_FALSE(commands->Run(cmd::PointTip, 2454140.5 - jdFirst, 12.0));
    commands->Run(cmd::lstBands_ItemCheck, "B", false);
    EXPECT_FALSE(commands->Run(cmd::PointTip, 2454150.5 - jdFirst, 12.0));
}

TEST_F(BandCommands, ABandWhoseLastRowIsDeletedLeavesThePanel) {
    LoadAndFill(WriteZUMa());
    const double x = 2454150.5 - state().view.JDFirst;
    commands->Run(cmd::BoxFinder, x - 1, 11.5, x + 1, 12.5);
    ASSERT_NE(commands->recordList(), nullptr);
    commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
    prompts.answer(Answer::Yes);
    commands->Run(cmd::cmdDelete_Click);
    ASSERT_EQ(table().Count(), 4);
    for (const BandLine& line : view().bandLines) EXPECT_NE(line.band, "B");
}

}  // namespace
}  // namespace sabrix
