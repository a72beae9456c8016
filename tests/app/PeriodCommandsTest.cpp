// SPDX-License-Identifier: GPL-3.0-or-later
// The period search and the phase plot through the command layer, with a scripted search
// dialog and window.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "analysis/PeriodDialogs.h"
#include "core/NumberText.h"
#include "interaction/RecordList.h"
#include "plot/PhasePlot.h"
#include "support/CommandsFixture.h"
#include "support/DownloadLines.h"
#include "support/SinusoidFile.h"

namespace sabrix {
namespace {

// The search dialog answers from a script (each entry one Search; none left: Cancel); the
// window records what it is shown and hands its events to the test.
class ScriptedPeriodDialogs : public PeriodDialogs {
  public:
    std::deque<PeriodRangeFields> searches;
    std::vector<PeriodSearchFields> shownFields;
    std::vector<PeriodSearchAnswer> answers;
    std::function<void(const PeriodogramEvent&)> onEvent;
    std::optional<PeriodogramWindowView> window;
    int opened = 0;

    void showSearch(
        const PeriodSearchFields& fields,
        const std::function<PeriodSearchAnswer(const PeriodSearchFields&)>& search) override {
        shownFields.push_back(fields);
        while (!searches.empty()) {
            PeriodSearchFields typed = fields;
            typed.range = searches.front();
            searches.pop_front();
            answers.push_back(search(typed));
            if (answers.back().close) return;
        }
    }
    void showResult(const PeriodogramWindowView& view,
                    const std::function<void(const PeriodogramEvent&)>& events) override {
        if (!window) ++opened;
        window = view;
        onEvent = events;
    }
    void updateResult(const PeriodogramWindowView& view) override {
        if (window) window = view;
    }
    void closeResult() override { window.reset(); }
};

using test::SinusoidLines;
constexpr double kPeriod = test::kSinusoidPeriod;
constexpr double kEpoch = test::kSinusoidEpoch;

class PeriodCommands : public test::CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        commands->setPeriodDialogs(&dialogs);
    }
    void Load(const std::vector<std::string>& lines) {
        commands->Run(cmd::LoadThreeColumnFile, WriteFile("star.dat", lines));
        ASSERT_TRUE(commands->state().star.FileLoaded);
        prompts.messages.clear();
    }
    PeriodRangeFields Defaults() const { return dialogs.shownFields.back().range; }
    void Send(PeriodogramEvent event) {
        ASSERT_TRUE(dialogs.onEvent);
        dialogs.onEvent(event);
    }

    ScriptedPeriodDialogs dialogs;
};

TEST_F(PeriodCommands, SearchFindsThePeriodFoldsAtAPeakAndTimePlotReturnsToTheLightCurve) {
    Load(SinusoidLines(200));
    dialogs.searches = {{"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    ASSERT_EQ(dialogs.shownFields.size(), 1u);
    EXPECT_TRUE(dialogs.shownFields[0].uncertaintiesAvailable);
    EXPECT_TRUE(dialogs.shownFields[0].summary.startsWith("200 observations shown, JD "));
    ASSERT_TRUE(dialogs.window);
    EXPECT_FALSE(dialogs.window->computing);
    ASSERT_FALSE(dialogs.window->peaks.empty());
    EXPECT_NEAR(dialogs.window->peaks[0][0].toDouble(), kPeriod, 0.002);
    EXPECT_NEAR(dialogs.window->peaks[0][3].toDouble(), 0.4, 0.01);
    EXPECT_TRUE(dialogs.window->summary.contains(QStringLiteral("weighted by 1/σ²")));
    EXPECT_FALSE(view().busy);
    EXPECT_FALSE(view().progressBarShown);

    const PlotWindowState light = commands->state().view;
    Send({.kind = PeriodogramEvent::Kind::FoldPeak, .peak = 0});
    EXPECT_TRUE(view().phasePlot);
    EXPECT_EQ(commands->state().view.WinJDLeft, kPhasePlotLeft);
    EXPECT_EQ(commands->state().view.WinJDRight, kPhasePlotRight);
    EXPECT_TRUE(view().starLabel.startsWith(QStringLiteral("File: ")));
    EXPECT_TRUE(view().starLabel.contains(QStringLiteral(" - P = 3.7")));
    // No time to move through on the phase plot.
    const PlotWindowState phase = commands->state().view;
    commands->Run(cmd::cmdBack_Click);
    commands->Run(cmd::cmdEnder_Click);
    EXPECT_EQ(test::EdgesOf(commands->state().view), test::EdgesOf(phase));
    // The pointer reads phases there.
    commands->Run(cmd::picView_MouseMove, 0, 0, 0.75, 12);
    EXPECT_EQ(view().panels[2], QStringLiteral("Phase = 0.25"));

    commands->Run(cmd::mnuTimePlot_Click);
    EXPECT_FALSE(view().phasePlot);
    EXPECT_EQ(test::EdgesOf(commands->state().view), test::EdgesOf(light));
    EXPECT_TRUE(view().starLabel.endsWith(QStringLiteral("(200 Points)")));
    EXPECT_TRUE(prompts.messages.empty());

    // A typed period and epoch; a refused one says which field.
    Send({.kind = PeriodogramEvent::Kind::Fold, .period = "abc"});
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(view().phasePlot);
    Send({.kind = PeriodogramEvent::Kind::Fold, .period = "3.7", .epoch = "2455001.3"});
    EXPECT_TRUE(view().starLabel.endsWith(QStringLiteral("P = 3.7 d")));
    commands->Run(cmd::cmdReset_Click);
    EXPECT_FALSE(view().phasePlot);

    // The periodogram as CSV, where the save dialog says.
    prompts.file(QString::fromStdString(dir.file("pg.csv")));
    Send({.kind = PeriodogramEvent::Kind::ExportCsv});
    EXPECT_EQ(test::ReadFileBytes(dir.file("pg.csv")).rfind("frequency,period,power\r\n", 0), 0u);

    // Closing the window leaves the plot as it is.
    Send({.kind = PeriodogramEvent::Kind::Close});
    EXPECT_FALSE(dialogs.window);
    EXPECT_EQ(commands->periodAnalysis(), nullptr);
}

TEST_F(PeriodCommands, RemovingThePeriodSearchesTheResidualsAndStepsBack) {
    Load(SinusoidLines(200));
    dialogs.searches = {{"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    ASSERT_TRUE(dialogs.window);
    const double first = dialogs.window->peaks[0][2].toDouble();
    Send({.kind = PeriodogramEvent::Kind::Remove});
    ASSERT_EQ(dialogs.window->removed.size(), 1u);
    EXPECT_TRUE(dialogs.window->removed[0].contains(QStringLiteral("P = 3.7")));
    // Nothing periodic is left: the highest peak of the residuals is far lower.
    EXPECT_LT(dialogs.window->peaks[0][2].toDouble(), first / 3);
    Send({.kind = PeriodogramEvent::Kind::StepBack});
    EXPECT_TRUE(dialogs.window->removed.empty());
    EXPECT_EQ(dialogs.window->peaks[0][2].toDouble(), first);
    // The removed period's row is chosen again, ready to be removed with other harmonics.
    EXPECT_EQ(dialogs.window->chosen, 0);
    EXPECT_TRUE(dialogs.window->canRemove);
}

TEST_F(PeriodCommands, TheModelIsDrawnOverBothPlotsAndPutsPhaseZeroAtItsMaximum) {
    Load(SinusoidLines(200));
    dialogs.searches = {{"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    ASSERT_TRUE(dialogs.window);
    EXPECT_FALSE(dialogs.window->peaks[0][4].isEmpty());
    EXPECT_FALSE(dialogs.window->peaks[0][5].isEmpty());
    EXPECT_TRUE(dialogs.window->model.startsWith("Model of P = 3.7"))
        << dialogs.window->model.toStdString();
    Send({.kind = PeriodogramEvent::Kind::ModelHarmonics, .harmonics = 3});
    EXPECT_TRUE(dialogs.window->model.contains(", 3 harmonics: 0.800 mag peak to peak"))
        << dialogs.window->model.toStdString();
    Send({.kind = PeriodogramEvent::Kind::FoldPeak, .peak = 0});
    ASSERT_NE(commands->periodModel(), nullptr);
    EXPECT_EQ(commands->periodModel()->harmonics(), 3);
    // Maximum light of 12 + 0.4 sin(2 pi (t - E) / P) is at 3/4 of the cycle.
    const double cycles = (commands->phaseFold()->epoch - kEpoch) / kPeriod - 0.75;
    EXPECT_NEAR(cycles, std::round(cycles), 1e-3);
    // The model stays over the light curve; untick it and it goes.
    commands->Run(cmd::mnuTimePlot_Click);
    EXPECT_NE(commands->periodModel(), nullptr);
    Send({.kind = PeriodogramEvent::Kind::FoldPeak, .peak = 0});
    Send({.kind = PeriodogramEvent::Kind::ShowModel, .checked = false});
    EXPECT_EQ(commands->periodModel(), nullptr);

    // The range typed is offered again until the star is unloaded.
    commands->Run(cmd::mnuPeriod_Click);
    EXPECT_EQ(dialogs.shownFields.back().range.minPeriod, "1");
    EXPECT_EQ(dialogs.shownFields.back().defaults.minPeriod, "0.05");
    Load(SinusoidLines(200));
    commands->Run(cmd::mnuPeriod_Click);
    EXPECT_EQ(dialogs.shownFields.back().range.minPeriod, "0.05");
}

TEST_F(PeriodCommands, FainterThanEstimatesStayOutOfTheSearchAndSeveralBandsAreNoted) {
    // The sinusoid in V, and as many fainter-than estimates in Vis. that would drown it.
    std::vector<std::string> lines = {test::kDownloadHeader};
    for (const std::string& line : SinusoidLines(150)) {
        const std::string jd = line.substr(0, line.find(' '));
        const std::string mag = line.substr(line.find(' ') + 1, 7);
        lines.push_back(test::DataLine(jd, mag, "V", "ZZ CYG"));
        lines.push_back(test::DataLine(FormatFixed(test::LeadingNumber(jd) + 0.4, 1, 5),
                                       jd.back() % 2 ? "<11.0" : "<13.0", "Vis.", "ZZ CYG"));
    }
    lines.push_back(test::DataLine("2455002.5", "12.2", "B", "ZZ CYG"));
    LoadAndFill(WriteFile("zz.txt", lines));
    dialogs.searches = {{"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    EXPECT_TRUE(dialogs.shownFields.back().summary.startsWith("151 observations shown"))
        << dialogs.shownFields.back().summary.toStdString();
    ASSERT_TRUE(dialogs.window);
    EXPECT_NEAR(dialogs.window->peaks[0][0].toDouble(), kPeriod, 0.01);
    ASSERT_FALSE(dialogs.window->notes.empty());
    EXPECT_EQ(dialogs.window->notes.back(),
              "Bands with different zero points make false peaks: "
              "show one band in the band panel.");
}

TEST_F(PeriodCommands, RefusedRangeKeepsTheDialogOpenOnTheField) {
    Load(SinusoidLines(50));
    dialogs.searches = {{"abc", "20", "10"}, {"5", "2", "10"}, {"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    ASSERT_EQ(dialogs.answers.size(), 3u);
    EXPECT_EQ(dialogs.answers[0].focus, PeriodRangeField::MinPeriod);
    EXPECT_FALSE(dialogs.answers[0].close);
    EXPECT_FALSE(dialogs.answers[1].close);
    EXPECT_TRUE(dialogs.answers[2].close);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("inimum period")));
    EXPECT_EQ(dialogs.opened, 1);
}

TEST_F(PeriodCommands, ObservationsThatGiveNoPeriodogramAreRefusedBeforeTheDialog) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"two observations", {"2455001.1 12.1 0.01", "2455002.1 12.3 0.01"}},
        {"one time", {"2455001.1 12.1 0.01", "2455001.1 12.3 0.01", "2455001.1 12.2 0.01"}},
        {"one magnitude", {"2455001.1 12.1 0.01", "2455002.1 12.1 0.01", "2455003.1 12.1 0.01"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.lines);
        commands->Run(cmd::mnuPeriod_Click);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Period Search"));
        EXPECT_TRUE(dialogs.shownFields.empty());
        EXPECT_FALSE(dialogs.window);
    }
    // A view with no observation in it.
    Load(SinusoidLines(50));
    const PlotWindowState& v = commands->state().view;
    commands->Run(cmd::ShowWindow, v.JDLast + 100, v.JDLast + 200, v.WinMagTop, v.WinMagBottom);
    prompts.messages.clear();
    commands->Run(cmd::mnuPeriod_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("No observation is shown")));
    EXPECT_TRUE(dialogs.shownFields.empty());
}

TEST_F(PeriodCommands, CancelDuringTheSearchClosesTheWindowAndTheMainWindowShowsProgress) {
    Load(SinusoidLines(2000));
    bool sawProgress = false;
    host.onYield = [&] {
        if (view().periodSearching && view().cancelShown && view().progressBarShown)
            sawProgress = true;
        // The main window stays usable meanwhile.
        const PlotWindowState& w = commands->state().view;
        const double left = w.WinJDLeft + 1;
        commands->Run(cmd::ShowWindow, left, w.WinJDRight, w.WinMagTop, w.WinMagBottom);
        EXPECT_EQ(commands->state().view.WinJDLeft, left);
        commands->Run(cmd::CancelPeriodSearch);
    };
    // About 3 x 10^6 frequencies: far more than one turn of the event loop.
    dialogs.searches = {{"0.05", "3000", "50"}};
    commands->Run(cmd::mnuPeriod_Click);
    EXPECT_TRUE(sawProgress);
    EXPECT_FALSE(dialogs.window);
    EXPECT_EQ(commands->periodAnalysis(), nullptr);
    EXPECT_FALSE(view().busy);
    EXPECT_FALSE(view().periodSearching);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PeriodCommands, OnThePhasePlotSelectionRingsTipsAndStatsFindThePointsInBothCycles) {
    // Period 2 d from JD 2455000: phases 0.25 (12 mag), 0.75 (11 mag) and 0.45 (12.5 mag).
    Load({"2455000.5 12.0 0.01", "2455003.5 11.0 0.01", "2455004.9 12.5 0.01"});
    commands->Run(cmd::mnuStats_Click);
    ASSERT_TRUE(commands->Run(cmd::ShowPhasePlot, 2, 2455000).isEmpty());
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 11   Phase = 0.75",
                                                       "Low Mag. = 12.5   Phase = 0.45"}));
    // picView's x is phase + 0.5: the copy of phase 0.25 in the second cycle is at 1.75.
    commands->Run(cmd::BoxFinder, 1.7, 11.9, 1.8, 12.1);
    ASSERT_NE(commands->recordList(), nullptr);
    EXPECT_EQ(commands->recordList()->Ids(), std::vector<int64_t>{1});
    commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
    const auto ringed = [this](double x, double mag) {
        const QPointF p = picView.toPixel(x, mag);
        for (int dx = 3; dx <= 7; ++dx)
            if (picView.pixelColor(static_cast<int>(p.x()) + dx, static_cast<int>(p.y())) ==
                0x00FFFF)
                return true;
        return false;
    };
    EXPECT_TRUE(ringed(0.75, 12));
    EXPECT_TRUE(ringed(1.75, 12));
    EXPECT_FALSE(ringed(1.25, 11));
    for (const double x : {0.75, 1.75}) {
        const std::optional<QString> tip = commands->Run(cmd::PointTip, x, 12);
        ASSERT_TRUE(tip);
        EXPECT_TRUE(tip->contains(QStringLiteral("2455000.5")));
    }
    EXPECT_FALSE(commands->Run(cmd::PointTip, 1.0, 12));
    // A zoom into the first cycle leaves the second's copies out of the figures.
    commands->Run(cmd::ShowWindow, 0.2, 0.5, 10, 13);
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 12   Phase = 0.25",
                                                       "Low Mag. = 12.5   Phase = 0.45"}));
    EXPECT_EQ(commands->Run(cmd::ShowPhasePlot, -1, std::nullopt),
              QStringLiteral("Period: type a number of days from 0.0001 to 10,000,000."));
    ASSERT_EQ(prompts.messages.size(), 1u);
}

TEST_F(PeriodCommands, APeakOfTheResidualsFoldsTheResidualsAndTimePlotReturnsToTheData) {
    Load(SinusoidLines(200));
    dialogs.searches = {{"1", "20", "10"}};
    commands->Run(cmd::mnuPeriod_Click);
    Send({.kind = PeriodogramEvent::Kind::Remove});
    const PlotWindowState light = commands->state().view;
    Send({.kind = PeriodogramEvent::Kind::FoldPeak, .peak = 0});
    EXPECT_TRUE(view().starLabel.contains(QStringLiteral(", residuals after 3.7")));
    // The residuals lie near 0 mag, and the window about them.
    const PlotWindowState& v = commands->state().view;
    EXPECT_GT(v.WinMagTop, -0.2);
    EXPECT_LT(v.WinMagBottom, 0.2);
    EXPECT_FALSE(test::Blank(picView));
    commands->Run(cmd::mnuTimePlot_Click);
    EXPECT_TRUE(view().starLabel.endsWith(QStringLiteral("(200 Points)")));
    EXPECT_EQ(test::EdgesOf(commands->state().view), test::EdgesOf(light));
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace sabrix
