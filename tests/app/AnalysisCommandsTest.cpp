// SPDX-License-Identifier: GPL-3.0-or-later
// The averages and the polynomial fit through the command layer, with scripted dialogs, and on
// the command line.
#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "analysis/AnalysisDialogs.h"
#include "analysis/PolyFit.h"
#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "app/MainWindowCommands.h"
#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "core/ProgramDir.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "plot/PlotImage.h"
#include "support/CommandsFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

// Dialogs answered from a script: each bins entry is one Enter (or Cancel), each degree one
// Plot (nothing: Cancel). A dialog whose script runs out stays open.
class ScriptedAnalysisDialogs : public AnalysisDialogs {
  public:
    struct BinsEntry {
        QString width;
        QString sigma = QStringLiteral("2");
        bool print = false;
        bool cancel = false;
    };
    std::deque<BinsEntry> bins;
    std::deque<std::optional<QString>> degrees;
    std::vector<BinDialogFields> shownBins;
    std::vector<bool> modal;
    std::vector<bool> enterResults;
    std::vector<QString> shownDegrees;
    std::vector<bool> plotResults;

    void showBins(const BinDialogFields& fields, bool isModal,
                  const std::function<bool(const BinDialogFields&)>& enter,
                  const std::function<void()>& cancel) override {
        shownBins.push_back(fields);
        modal.push_back(isModal);
        while (!bins.empty()) {
            const BinsEntry entry = bins.front();
            bins.pop_front();
            if (entry.cancel) return cancel();
            BinDialogFields f = fields;
            f.binWidth = entry.width;
            f.sigma = entry.sigma;
            f.printBinFile = entry.print;
            enterResults.push_back(enter(f));
            if (enterResults.back()) return;
        }
    }
    void showPoly(const QString& degree, const std::function<bool(const QString&)>& plot,
                  const std::function<void()>& cancel) override {
        shownDegrees.push_back(degree);
        while (!degrees.empty()) {
            const std::optional<QString> entry = degrees.front();
            degrees.pop_front();
            if (!entry) return cancel();
            plotResults.push_back(plot(*entry));
            if (plotResults.back()) return;
        }
    }
};

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 7), QTime(1, 2, 3)); }
};

constexpr int32_t kRed = 255;
constexpr int32_t kWhite = 16777215;

// The averages and the fit on a loaded star, the plot drawn as an exported picture of
// 900 x 500 lays it out.
struct AnalysisCanvases {
    PlotAreaCanvases canvases{LayOutPlotArea(900, 500)};
};

class AnalysisCommands : protected AnalysisCanvases, public test::CommandsFixture {
  protected:
    AnalysisCommands()
        : CommandsFixture(canvases.picView, canvases.picJDScale, canvases.picMagScale) {}
    void Prepare(AppState& state) override {
        state.settings.DefaultSigma = 2;
        state.settings.PolyFit = 8;
    }
    void SetUp() override {
        CommandsFixture::SetUp();
        commands->setAnalysisDialogs(&dialogs);
        commands->setClock(&clock);
        LoadAndFill(test::SampleFile("download-mixed.txt"));
        ASSERT_TRUE(commands->state().star.FileLoaded);
        prompts.messages.clear();
        plainRed = Count(kRed);
        plainWhite = Count(kWhite);
    }

    int Count(int32_t color) const {
        int n = 0;
        for (int y = 0; y < picView.pixelHeight(); ++y)
            for (int x = 0; x < picView.pixelWidth(); ++x) n += picView.pixelColor(x, y) == color;
        return n;
    }
    const PlotWindowState& window() { return commands->state().view; }

    ScriptedAnalysisDialogs dialogs;
    FixedClock clock;
    int plainRed = 0;
    int plainWhite = 0;
};

TEST_F(AnalysisCommands, BinsStayThroughZoomAndNavigationAndGoWithResetAndRefresh) {
    dialogs.bins = {{QStringLiteral("1")}};
    commands->Run(cmd::cmdBin_Click);
    EXPECT_EQ(dialogs.modal, std::vector<bool>{true});
    EXPECT_EQ(dialogs.shownBins[0].binWidth, QStringLiteral("10"));
    EXPECT_EQ(dialogs.shownBins[0].sigma, QStringLiteral("2"));
    EXPECT_EQ(dialogs.enterResults, std::vector<bool>{true});
    EXPECT_TRUE(binsShown());
    EXPECT_GT(bins().BinJD.size(), 40u);
    EXPECT_GT(Count(kRed), plainRed + 100);
    EXPECT_EQ(commands->view().panels[1], QStringLiteral("Magnification = 1 X"));

    const double first = window().JDFirst;
    commands->Run(cmd::ShowWindow, first + 10, first + 30, window().WinMagTop,
                  window().WinMagBottom);
    EXPECT_TRUE(binsShown());
    const int zoomedRed = Count(kRed);
    commands->Run(cmd::cmdBack_Click);
    EXPECT_TRUE(binsShown());
    commands->Run(cmd::cmdForward_Click);
    EXPECT_EQ(Count(kRed), zoomedRed);
    commands->Run(cmd::Redraw, false);
    EXPECT_LT(Count(kRed), zoomedRed);

    commands->Run(cmd::cmdReset_Click);
    EXPECT_FALSE(binsShown());
    EXPECT_EQ(Count(kRed), plainRed);

    dialogs.bins = {{QStringLiteral("1")}};
    commands->Run(cmd::cmdBin_Click);
    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_FALSE(binsShown());
    commands->Run(cmd::cmdBack_Click);
    EXPECT_EQ(Count(kRed), plainRed);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AnalysisCommands, RefusedFieldsKeepTheDialogOpenAndTheBins) {
    dialogs.bins = {{QStringLiteral("1")}};
    commands->Run(cmd::cmdBin_Click);
    const std::vector<double> first = bins().BinJD;
    for (const char* width : {"abc", "0.4"}) {
        dialogs.bins = {{QString::fromLatin1(width)}};
        commands->Run(cmd::mnuAvg_Click);
        EXPECT_EQ(dialogs.enterResults.back(), false) << width;
        EXPECT_EQ(bins().BinJD, first) << width;
        ASSERT_FALSE(prompts.messages.empty());
        EXPECT_EQ(prompts.messages.back().title, QStringLiteral("Load Bins"));
        EXPECT_EQ(prompts.messages.back().icon, Icon::Exclamation);
    }
    EXPECT_EQ(dialogs.modal.back(), false);
    dialogs.bins = {{QStringLiteral("10"), QStringLiteral("x")}};
    commands->Run(cmd::mnuAvg_Click);
    EXPECT_EQ(dialogs.enterResults.back(), false);
    EXPECT_TRUE(prompts.messages.back().text.contains(QStringLiteral("sigma")));
}

TEST_F(AnalysisCommands, CancelTurnsTheAveragesOff) {
    dialogs.bins = {{QString(), QString(), false, true}};
    commands->Run(cmd::cmdBin_Click);
    EXPECT_FALSE(binsShown());
}

TEST_F(AnalysisCommands, TwoBinsAreTooFewAndOneDrawsNothing) {
    // The data span 53 days: 30-day bins give two, 60-day bins one.
    dialogs.bins = {{QStringLiteral("30")}};
    commands->Run(cmd::cmdBin_Click);
    EXPECT_EQ(bins().BinJD.size(), 2u);
    EXPECT_EQ(prompts.messages,
              (std::vector<test::RecordedMessage>{
                  {TooFewBinsText(), QStringLiteral("Error"), Buttons::OK, Icon::None}}));
    EXPECT_FALSE(binsShown());
    EXPECT_EQ(Count(kRed), plainRed);

    prompts.messages.clear();
    dialogs.bins = {{QStringLiteral("60")}};
    commands->Run(cmd::cmdBin_Click);
    EXPECT_EQ(bins().BinJD.size(), 1u);
    EXPECT_TRUE(binsShown());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Count(kRed), plainRed);
}

TEST_F(AnalysisCommands, BinFileIsWrittenAfterTheOverwriteQuestion) {
    const std::string path = dir.file("RLeoAvg.txt");
    dialogs.bins = {{QStringLiteral("10"), QStringLiteral("2"), true}};
    prompts.file(QString::fromStdString(path));
    commands->Run(cmd::cmdBin_Click);
    const std::string written = test::ReadFileBytes(path);
    EXPECT_EQ(written,
              BinFileHeader(commands->state().star.StarName, clock.now()) + BinFileLines(bins()));

    // No: the save dialog again; Cancel there: the bins without a file.
    test::WriteFileBytes(path, "old");
    dialogs.bins = {{QStringLiteral("5"), QStringLiteral("2"), true}};
    prompts.file(QString::fromStdString(path));
    prompts.answer(Answer::No);
    prompts.file(std::nullopt);
    commands->Run(cmd::cmdBin_Click);
    EXPECT_EQ(test::ReadFileBytes(path), "old");
    EXPECT_TRUE(binsShown());
    EXPECT_EQ(prompts.fileDialogs.size(), 3u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("The file ") + QString::fromStdString(path) +
                                            QStringLiteral(" already exists.\r\nDo you want to "
                                                           "overwrite it?"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNo);

    dialogs.bins = {{QStringLiteral("5"), QStringLiteral("2"), true}};
    prompts.file(QString::fromStdString(path));
    prompts.answer(Answer::Yes);
    commands->Run(cmd::cmdBin_Click);
    EXPECT_NE(test::ReadFileBytes(path), "old");
}

TEST_F(AnalysisCommands, PolynomialCurveAndAveragesExcludeEachOther) {
    commands->Run(cmd::mnuStats_Click);
    dialogs.degrees = {QStringLiteral("8")};
    commands->Run(cmd::cmdPoly_Click);
    EXPECT_EQ(dialogs.shownDegrees, std::vector<QString>{QStringLiteral("8")});
    EXPECT_TRUE(polyShown());
    EXPECT_GT(Count(kWhite), plainWhite + 100);
    ASSERT_EQ(commands->view().statsLines.size(), 3u);
    EXPECT_EQ(commands->view().statsLines[0], QStringLiteral("Polynomial"));

    const double first = window().JDFirst;
    commands->Run(cmd::ShowWindow, first + 10, first + 30, window().WinMagTop,
                  window().WinMagBottom);
    EXPECT_TRUE(polyShown());
    EXPECT_EQ(commands->view().statsLines[0], QStringLiteral("Polynomial"));

    dialogs.bins = {{QStringLiteral("1")}};
    commands->Run(cmd::mnuAvg_Click);
    EXPECT_FALSE(polyShown());
    EXPECT_TRUE(binsShown());
    EXPECT_EQ(commands->view().statsLines[0], QStringLiteral("Averages"));

    dialogs.degrees = {QStringLiteral("2")};
    commands->Run(cmd::mnuPoly_Click);
    EXPECT_FALSE(binsShown());
    EXPECT_TRUE(polyShown());
    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_FALSE(polyShown());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AnalysisCommands, DegreeZeroIsAFlatLineAtTheMean) {
    commands->Run(cmd::mnuStats_Click);
    dialogs.degrees = {QStringLiteral("0")};
    commands->Run(cmd::cmdPoly_Click);
    const auto& lines = commands->view().statsLines;
    ASSERT_EQ(lines.size(), 3u);
    const QString left = QString::fromStdString(FormatDouble(window().WinJDLeft));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("  JD = ") + left)) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("  JD = ") + left)) << lines[2].toStdString();
    EXPECT_EQ(lines[1].mid(5), lines[2].mid(4));
}

TEST_F(AnalysisCommands, RefusedDegreeSaysWhyAndLeavesNoCurve) {
    dialogs.degrees = {QStringLiteral("41"), QStringLiteral("x"), QStringLiteral("2.5"),
                       std::nullopt};
    commands->Run(cmd::cmdPoly_Click);
    EXPECT_EQ(dialogs.plotResults, (std::vector<bool>{false, false, false}));
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(
        prompts.messages[0].text,
        ModuleErrorText(QStringLiteral("41 is an invalid property value! Use 0<= Degree <= 40"),
                        QStringLiteral("LoadPoly")));
    EXPECT_EQ(prompts.messages[1].text,
              ModuleErrorText(QStringLiteral("Type mismatch"), QStringLiteral("LoadPoly")));
    // A fraction is refused as a bad bin size is, not rounded to a degree.
    EXPECT_EQ(
        prompts.messages[2],
        (test::RecordedMessage{QStringLiteral("Type the degree of fit as a whole number "
                                              "from 0 to 40, for example 3."),
                               QStringLiteral("Polynomial Fit"), Buttons::OK, Icon::Exclamation}));
    EXPECT_FALSE(polyShown());
    commands->Run(cmd::cmdBack_Click);
    EXPECT_EQ(Count(kWhite), plainWhite);
}

TEST_F(AnalysisCommands, WithNothingLoadedTheDialogsDoNotOpen) {
    ASSERT_TRUE(commands->Run(cmd::UnloadStar));
    commands->Run(cmd::mnuAvg_Click);
    commands->Run(cmd::cmdPoly_Click);
    EXPECT_TRUE(dialogs.shownBins.empty());
    EXPECT_TRUE(dialogs.shownDegrees.empty());
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("No star file is loaded."));
    EXPECT_FALSE(binsShown());
    EXPECT_FALSE(polyShown());
}

TEST(AnalysisCommandLine, RenderWritesTheBinFileAndTheCurve) {
    test::TempProgramDir dir;
    RenderOptions options;
    options.file = test::SampleFile("download-mixed.txt");
    options.out = dir.file("plot.png");
    options.stats = true;
    options.bins = "10";
    options.binFile = dir.file("bins.txt");
    std::ostringstream out, err;
    EXPECT_EQ(RunRender(options, dir.path(), out, err), 0) << err.str();
    const std::string binFile = test::ReadFileBytes(options.binFile);
    EXPECT_EQ(binFile.rfind("Bins plotted for   ", 0), 0u);
    EXPECT_NE(out.str().find("Averages\nHigh Mag. = "), std::string::npos) << out.str();

    RenderOptions poly = options;
    poly.bins.reset();
    poly.binFile.clear();
    poly.poly = "3";
    poly.curveOut = dir.file("curve.txt");
    std::ostringstream out2, err2;
    EXPECT_EQ(RunRender(poly, dir.path(), out2, err2), 0) << err2.str();
    const std::string curve = test::ReadFileBytes(poly.curveOut);
    // One line per day of the window, the first at its left edge.
    size_t lines = 0;
    for (size_t at = curve.find("\r\n"); at != std::string::npos; at = curve.find("\r\n", at + 2))
        ++lines;
    EXPECT_GT(lines, 55u);
    EXPECT_LT(lines, 70u);
    EXPECT_EQ(curve.find('\n'), curve.find("\r\n") + 1);
    EXPECT_NE(out2.str().find("Polynomial\nHigh Mag. = "), std::string::npos) << out2.str();
}

TEST(AnalysisCommandLine, FieldsTheDialogRefusesExitOneWithItsMessage) {
    test::TempProgramDir dir;
    struct Case {
        const char* bins;
        const char* poly;
        const char* says;
    };
    for (const Case& c : {Case{"abc", nullptr, "bin size"}, Case{"10", nullptr, nullptr},
                          Case{nullptr, "41", "41 is an invalid property value"}}) {
        RenderOptions options;
        options.file = test::SampleFile("download-mixed.txt");
        options.out = dir.file("plot.png");
        if (c.bins) options.bins = c.bins;
        if (c.poly) options.poly = c.poly;
        if (c.bins && !c.says) options.sigma = "-2";
        std::ostringstream out, err;
        EXPECT_EQ(RunRender(options, dir.path(), out, err), 1);
        EXPECT_NE(err.str().find(c.says ? c.says : "sigma"), std::string::npos) << err.str();
    }
}

}  // namespace
}  // namespace sabrix
