// SPDX-License-Identifier: GPL-3.0-or-later
// The period search and the phase plot on the command line: --periodogram and --render
// --phase.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchPeriodogram.h"
#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "core/NumberText.h"
#include "support/DownloadLines.h"
#include "support/SinusoidFile.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

class PeriodCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir.file("star.dat");
        test::WriteFileBytes(file, test::Lines(test::SinusoidLines(200)));
    }
    int Periodogram(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        const CommandLineRequest request = ParseCommandLine(args);
        EXPECT_EQ(request.kind, CommandLineRequest::Kind::Periodogram) << request.problem;
        return RunPeriodogram(request.periodogram, dir.path(), out, err);
    }
    int Render(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        const CommandLineRequest request = ParseCommandLine(args);
        EXPECT_EQ(request.kind, CommandLineRequest::Kind::Render) << request.problem;
        return RunRender(request.render, dir.path(), out, err);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    test::TempProgramDir dir;
    std::string file;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(PeriodCommandLine, PeriodogramPrintsTheFiveHighestPeaksAndWritesTheCsv) {
    const std::string csv = dir.file("pg.csv");
    ASSERT_EQ(Periodogram({"--periodogram", file, "--three-column", "--min-period", "1",
                           "--max-period", "20", "--out", csv}),
              0)
        << err.str();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 5u);
    // "period frequency power amplitude fap sigma_period", the period with 7 decimals.
    double period = 0, frequency = 0, power = 0, amplitude = 0, sigma = 0;
    std::string fap;
    std::istringstream first(lines[0]);
    first >> period >> frequency >> power >> amplitude >> fap >> sigma;
    EXPECT_NEAR(period, test::kSinusoidPeriod, 0.002);
    EXPECT_NEAR(frequency * period, 1, 1e-6);
    EXPECT_GT(power, 0.99);
    EXPECT_NEAR(amplitude, 0.4, 0.01);
    EXPECT_EQ(fap, "<1e-300");
    EXPECT_GT(sigma, 0);
    EXPECT_LT(sigma, 1e-4);
    EXPECT_EQ(lines[0].find('.'), 1u);
    EXPECT_EQ(lines[0].find(' '), 9u);
    const std::string table = test::ReadFileBytes(csv);
    EXPECT_EQ(table.rfind("frequency,period,power\r\n", 0), 0u);

    // Several harmonics: no false-alarm probability. The window function instead.
    ASSERT_EQ(Periodogram({"--periodogram", file, "--three-column", "--min-period", "1",
                           "--harmonics", "3"}),
              0);
    EXPECT_NE(Lines()[0].find(" - "), std::string::npos) << Lines()[0];
    ASSERT_EQ(Periodogram({"--periodogram", file, "--three-column", "--min-period", "1", "--window",
                           "--out", csv}),
              0)
        << err.str();
    EXPECT_EQ(test::ReadFileBytes(csv).rfind("frequency,period,window\r\n", 0), 0u);
    const std::string windowLine = Lines()[0];
    EXPECT_EQ(std::count(windowLine.begin(), windowLine.end(), ' '), 2) << windowLine;

    // Without weights the same period.
    ASSERT_EQ(Periodogram({"--periodogram", file, "--three-column", "--min-period", "1",
                           "--max-period", "20", "--no-weights"}),
              0);
    EXPECT_EQ(Lines()[0].substr(0, 5), "3.700");
}

TEST_F(PeriodCommandLine, BatchSummaryKeepsTheOrderAndSaysWhyABadFileWasSkipped) {
    // A folder of two good files around a bad line and a file of two observations.
    const std::string folder = dir.file("stars");
    std::filesystem::create_directory(folder);
    const std::string good = folder + "/a.dat";
    test::WriteFileBytes(good, test::Lines(test::SinusoidLines(150)));
    test::WriteFileBytes(folder + "/b.dat", "2455001.5 11.2 0.01\r\n2455002.5 eleven 0.01\r\n");
    test::WriteFileBytes(folder + "/c.dat", test::Lines(test::SinusoidLines(2)));
    const std::string summary = dir.file("summary.csv");
    const std::string outDir = dir.file("csv");
    std::filesystem::create_directory(outDir);
    const CommandLineRequest request =
        ParseCommandLine({"--periodogram", folder, good, "--three-column", "--min-period", "1",
                          "--summary", summary, "--out-dir", outDir});
    ASSERT_EQ(request.kind, CommandLineRequest::Kind::Periodogram) << request.problem;
    ASSERT_TRUE(request.periodogram.batch);
    EXPECT_EQ(RunPeriodogramBatch(request.periodogram, out, err), 1);
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFileBytes(summary));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              "file,observations,span,period,frequency,power,amplitude,fap,sigma_period,"
              "method\r");
    for (const size_t i : {size_t{1}, size_t{4}}) {
        EXPECT_EQ(lines[i].rfind(good + ",150,", 0), 0u) << lines[i];
        EXPECT_NE(lines[i].find(",3.70"), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find(",gls\r"), std::string::npos) << lines[i];
    }
    EXPECT_EQ(lines[2].rfind(folder + "/b.dat,,,,,,,,,\"skipped: unreadable: line 2", 0), 0u)
        << lines[2];
    EXPECT_EQ(lines[3], folder + "/c.dat,2,,,,,,,,skipped: too few observations\r");
    EXPECT_NE(err.str().find("b.dat: skipped: unreadable"), std::string::npos) << err.str();
    EXPECT_EQ(test::ReadFileBytes(outDir + "/a.periodogram.csv").rfind("frequency,", 0), 0u);

    // Theta's deepest minimum for the same star, without fap and sigma.
    const CommandLineRequest pdm = ParseCommandLine(
        {"--periodogram", good, "--three-column", "--method", "pdm", "--summary", summary});
    EXPECT_EQ(RunPeriodogramBatch(pdm.periodogram, out, err), 0);
    const std::string text = test::ReadFileBytes(summary);
    EXPECT_NE(text.find(",,pdm\r\n"), std::string::npos) << text;
}

TEST_F(PeriodCommandLine, BadValuesAndDataThatGiveNoPeriodogramEndWithOneLine) {
    const std::vector<std::vector<std::string>> refused = {
        {"--min-period", "abc"},
        {"--min-period", "5", "--max-period", "2"},
        {"--samples-per-peak", "0"},
        {"--min-period", "0.0001", "--samples-per-peak", "100"},
        {"--view", "2455001,2455002,10,14"},
        {"--max-period", "1e300"},
        {"--min-period", "4e-324"},
    };
    for (const std::vector<std::string>& extra : refused) {
        std::vector<std::string> args = {"--periodogram", file, "--three-column"};
        args.insert(args.end(), extra.begin(), extra.end());
        SCOPED_TRACE(extra.front() + " " + extra[1]);
        EXPECT_EQ(Periodogram(args), 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str().rfind("sabrix: " + file + ": ", 0), 0u) << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1);
        if (extra.front() != "--view") {
            EXPECT_NE(err.str().find(extra.back() == "2" ? "--min-period:" : extra.front() + ":"),
                      std::string::npos)
                << err.str();
        }
    }
    // A three-column file has no bands to choose.
    EXPECT_EQ(Periodogram({"--periodogram", file, "--three-column", "--bands", "V"}), 1);
    EXPECT_EQ(err.str(), "sabrix: " + file +
                             ": No observation has the band \"V\": a three-column file has no "
                             "bands.\n");
}

TEST_F(PeriodCommandLine, PrewhiteningPrintsTheTopPeakOfEachRound) {
    // A second period under the first: 1.3 d, 0.1 mag.
    std::vector<std::string> lines = test::SinusoidLines(300);
    for (std::string& line : lines) {
        double t = 0, mag = 0;
        std::istringstream(line) >> t >> mag;
        mag += 0.1 * std::sin(2 * M_PI * t / 1.3);
        line = FormatFixed(t, 1, 5) + " " + FormatFixed(mag, 1, 4) + " 0.01";
    }
    test::WriteFileBytes(file, test::Lines(lines));
    ASSERT_EQ(Periodogram({"--periodogram", file, "--three-column", "--min-period", "0.5",
                           "--prewhiten", "2"}),
              0)
        << err.str();
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_NEAR(test::LeadingNumber(Lines()[0]), 3.7, 0.002);
    EXPECT_NEAR(test::LeadingNumber(Lines()[1]), 1.3, 0.002);
}

TEST_F(PeriodCommandLine, RenderPhaseDrawsThePhasePlotAndWritesTheFirstCycle) {
    const std::string png = dir.file("phase.png");
    const std::string table = dir.file("phase.txt");
    ASSERT_EQ(Render({"--render", file, "--three-column", "--phase", "3.7", "--epoch", "2455001.3",
                      "--phase-out", table, "--out", png, "--width", "400", "--height", "300"}),
              0)
        << err.str();
    EXPECT_EQ(out.str().substr(out.str().find(" - P = ")), " - P = 3.7 d\nRejected lines: 0\n");
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(400, 300));
    std::istringstream lines(test::ReadFileBytes(table));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        double phase = -1, mag = 0;
        std::istringstream(line) >> phase >> mag;
        EXPECT_TRUE(phase >= 0 && phase < 1) << line;
        // The sinusoid's own phase: mag = 12 + 0.4 sin(2 pi phase).
        EXPECT_NEAR(mag, 12 + 0.4 * std::sin(2 * M_PI * phase), 0.001) << line;
    }
    EXPECT_EQ(count, 200);

    // Periods and epochs beyond sense, one line naming the option.
    const std::vector<std::vector<std::string>> refused = {
        {"--phase", "-2"},
        {"--phase", "1e-9"},
        {"--phase", "4e-324"},
        {"--phase", "1", "--epoch", "1e20"},
        // On the reduced scale while the JD scale shows the offset added.
        {"--phase", "1", "--time-offset", "100", "--epoch", "2455001.3"}};
    for (const std::vector<std::string>& extra : refused) {
        std::vector<std::string> args = {"--render", file, "--three-column", "--out", png};
        args.insert(args.end(), extra.begin(), extra.end());
        SCOPED_TRACE(extra.back());
        EXPECT_EQ(Render(args), 1);
        const std::string option = extra.size() > 2 ? "--epoch:" : "--phase:";
        EXPECT_EQ(err.str().rfind("sabrix: " + file + ": " + option, 0), 0u) << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1);
    }
    EXPECT_EQ(ParseCommandLine({"--render", file, "--epoch", "1", "--out", png}).kind,
              CommandLineRequest::Kind::Invalid);
}

TEST_F(PeriodCommandLine, RenderPhaseWithHarmonicsWritesTheFit) {
    const std::string png = dir.file("phase.png");
    const std::string fit = dir.file("fit.txt");
    ASSERT_EQ(Render({"--render", file, "--three-column", "--phase", "3.7", "--harmonics", "2",
                      "--fit-out", fit, "--out", png, "--time-offset", "100"}),
              0)
        << err.str();
    std::istringstream lines(test::ReadFileBytes(fit));
    std::string header;
    std::getline(lines, header);
    double period = 0, epoch = 0, amplitude = 0, rms = 1;
    std::string hash;
    std::istringstream(header) >> hash >> period >> epoch >> amplitude >> rms;
    EXPECT_EQ(hash, "#");
    EXPECT_EQ(period, 3.7);
    // The epoch is the model's maximum, on the scale shown: the sinusoid is brightest at 3/4
    // of its cycle.
    const double cycles = (epoch - 100 - test::kSinusoidEpoch) / 3.7 - 0.75;
    EXPECT_NEAR(cycles, std::round(cycles), 1e-3) << epoch;
    EXPECT_NEAR(amplitude, 0.8, 1e-3);
    EXPECT_LT(rms, 1e-3);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        double phase = -1, mag = 0, model = 0, residual = 1;
        std::istringstream(line) >> phase >> mag >> model >> residual;
        EXPECT_NEAR(mag, 12 - 0.4 * std::cos(2 * M_PI * phase), 1e-3) << line;
        EXPECT_NEAR(residual, mag - model, 2e-6) << line;
    }
    EXPECT_EQ(count, 200);
}

}  // namespace
}  // namespace sabrix
