// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "core/SettingsFile.h"
#include "plot/PlotImage.h"
#include "support/CommandsFixture.h"
#include "support/DownloadLines.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;
using test::DataLine;

const std::string kCheckSource = "Error in loading database. Check source file.";

// Three observations of R Leo, one a fainter-than, and one line of the wrong field count.
const std::string kRLeo = test::Lines({DataLine("2454123.5", "9.1", "V", "R Leo"), "a,b,c",
                                       DataLine("2454125.5", "10.5", "R", "R Leo"),
                                       DataLine("2454130.5", "<11.2", "V", "R Leo")});

class CommandLineTools : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& text) {
        test::WriteFileBytes(dir.file(name), text);
        return dir.file(name);
    }
    int Render(const RenderOptions& options) {
        out.str("");
        err.str("");
        return RunRender(options, dir.path(), out, err);
    }
    int Convert(const ConvertOptions& options) {
        out.str("");
        err.str("");
        return RunConvert(options, dir.path(), out, err);
    }

    test::TempProgramDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CommandLineTools, RenderDrawsThePlotAreaAndPrintsTheLabelTheRejectedLinesAndTheStats) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.png");
    options.width = 320;
    options.height = 200;
    EXPECT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(), "R LEO - (3 Points)\nRejected lines: 1\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(QImage(QString::fromStdString(options.out)).size(), QSize(320, 200));
    EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "a,b,c\r\n");

    options.omitFaint = options.stats = true;
    EXPECT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(),
              "R LEO - (2 Points)\nRejected lines: 1\n"
              "High Mag. = 9.1   JD = 2454123.5\n"
              "Low Mag. = 11.2   JD = 2454130.5\n");
}

TEST_F(CommandLineTools, RenderWithBandsDrawsThemAloneAndRefusesABandTheFileLacks) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.png");
    options.bands = {"R"};
    options.stats = true;
    EXPECT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(),
              "R LEO - (1 Points)\nRejected lines: 1\n"
              "High Mag. = 10.5   JD = 2454125.5\n"
              "Low Mag. = 10.5   JD = 2454125.5\n");

    options.bands = {"V", "Vis."};
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str(), "sabrix: " + options.file +
                             ": No observation has the band \"Vis.\"; the file's bands: R, V.\n");
}

TEST_F(CommandLineTools, RenderWithAViewDrawsThatWindowOfTheStar) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.png");
    options.width = 320;
    options.height = 200;
    const QPoint middle = LayOutPlotArea(320, 200).view.center();
    auto middlePixel = [&] { return QImage(QString::fromStdString(options.out)).pixel(middle); };
    ASSERT_EQ(Render(options), 0);
    EXPECT_NE(middlePixel(), qRgb(255, 0, 0));

    // Two days and one magnitude around the red R-band observation, which then sits in the
    // middle of the plot.
    options.view = ViewOption{2454124.5, 2454126.5, 10, 11};
    ASSERT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(), "R LEO - (1 Points)\nRejected lines: 1\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(middlePixel(), qRgb(255, 0, 0));
}

TEST_F(CommandLineTools, RenderWritesTheFormatThatTheOutputNameSays) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.width = 320;
    options.height = 200;
    options.out = dir.file("rleo.SVG");
    ASSERT_EQ(Render(options), 0) << err.str();
    EXPECT_EQ(out.str(), "R LEO - (3 Points)\nRejected lines: 1\n");
    const std::string svg = test::ReadFileBytes(options.out);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(">R LEO - (3 Points)</text>"), std::string::npos);
    options.out = dir.file("rleo.pdf");
    ASSERT_EQ(Render(options), 0) << err.str();
    EXPECT_EQ(test::ReadFileBytes(options.out).rfind("%PDF-", 0), 0u);
    // A .jpg was written as PNG bytes under that name.
    for (const char* name : {"rleo.jpg", "rleo.JPEG"}) {
        options.out = dir.file(name);
        ASSERT_EQ(Render(options), 0) << err.str();
        EXPECT_EQ(test::ReadFileBytes(options.out).rfind("\xFF\xD8\xFF", 0), 0u) << name;
        EXPECT_EQ(QImage(QString::fromStdString(options.out), "JPEG").size(), QSize(320, 200));
    }
}

// A three-column file given without --three-column failed with "Error in loading database.
// Check source file." where a drop of the same file loaded it.
TEST_F(CommandLineTools, FileIsReadAsADropWouldReadItUnlessAKindIsGiven) {
    const std::string columns = Write("rcar.txt", "2454123.5 9.1 0.01\n2454130.5 11.2 0.02\n");
    RenderOptions render;
    render.out = dir.file("plot.png");
    render.width = 320;
    render.height = 200;
    for (const std::string& file : {columns, test::SampleFile("three-column.dat")}) {
        render.file = file;
        EXPECT_EQ(Render(render), 0) << err.str();
        EXPECT_EQ(out.str().rfind("File: " + file + " - (", 0), 0u) << out.str();
    }
    render.file = columns;
    render.load.kind = ObservationFileKind::StarFile;
    EXPECT_EQ(Render(render), 1);
    EXPECT_EQ(err.str().rfind("sabrix: " + columns + ": " + kCheckSource, 0), 0u) << err.str();

    // --convert writes the kind it read, unless told otherwise.
    EXPECT_EQ(
        Convert({columns, dir.file("copy.dat"), std::nullopt, ConvertOptions::Target::SameKind}),
        0);
    EXPECT_EQ(test::ReadFileBytes(dir.file("copy.dat")),
              "2454123.5          9.1  0.0100  \r\n2454130.5         11.2  0.0200  \r\n");
    EXPECT_EQ(Convert({Write("rleo.csv", kRLeo), dir.file("rleo.out"), std::nullopt,
                       ConvertOptions::Target::SameKind}),
              0);
    EXPECT_EQ(test::ReadFileBytes(dir.file("rleo.out")).rfind("Edited data for R Leo", 0), 0u);
}

TEST_F(CommandLineTools, TimeOffsetLabelsTheJDScaleAndTheViewIsGivenAsTheScaleShowsIt) {
    RenderOptions render;
    render.file = test::SampleFile("three-column.dat");
    render.out = dir.file("plot.png");
    render.width = 600;
    render.height = 300;
    ASSERT_EQ(Render(render), 0) << err.str();
    const QImage reduced(QString::fromStdString(render.out));
    render.load.timeOffset = 2450000;
    ASSERT_EQ(Render(render), 0) << err.str();
    const QImage full(QString::fromStdString(render.out));
    const PlotAreaLayout layout = LayOutPlotArea(600, 300);
    EXPECT_NE(full.copy(layout.jdScale), reduced.copy(layout.jdScale));
    EXPECT_EQ(full.copy(layout.view), reduced.copy(layout.view));

    // The five observations from 2452160 to 2452200.
    render.view = ViewOption{2452160, 2452200, 13.5, 15};
    ASSERT_EQ(Render(render), 0) << err.str();
    EXPECT_EQ(out.str().substr(out.str().find(" - (")), " - (5 Points)\nRejected lines: 0\n");

    render.file = Write("rleo.txt", kRLeo);
    render.view.reset();
    EXPECT_EQ(Render(render), 1);
    EXPECT_EQ(err.str(), "sabrix: " + render.file +
                             ": --time-offset is for three-column files; this one is read as a "
                             "star file.\n");
}

TEST_F(CommandLineTools, RenderThatFailsSaysWhyOnTheErrorStreamAndEndsWithOne) {
    struct Case {
        std::string file, out, err;  // err: how the message starts
    };
    const std::vector<Case> cases = {
        {Write("none.txt", test::Lines({"JD,Magnitude", "no data here"})), dir.file("none.png"),
         "sabrix: " + dir.file("none.txt") + ": " + kCheckSource +
             " No line of the file is an observation.\n"},
        {Write("rleo.txt", kRLeo), dir.file("no-such-folder/rleo.png"),
         "sabrix: " + dir.file("no-such-folder/rleo.png") +
             ": Cannot write: " + std::strerror(ENOENT) + "\n"},
        {"/dev/zero", dir.file("zero.png"),
         "sabrix: /dev/zero: " + kCheckSource + " Not a regular file\n"},
        {dir.file("missing.txt"), dir.file("none.png"),
         "sabrix: " + dir.file("missing.txt") + ": " + kCheckSource + " "},
    };
    for (const Case& c : cases)
        for (const std::optional<ViewOption>& view :
             {std::optional<ViewOption>(), std::optional(ViewOption{2454124, 2454126, 9, 11})}) {
            RenderOptions options;
            options.file = c.file;
            options.out = c.out;
            options.view = view;
            EXPECT_EQ(Render(options), 1) << c.file;
            EXPECT_EQ(out.str(), "");
            EXPECT_EQ(err.str().rfind(c.err, 0), 0u) << err.str();
            EXPECT_FALSE(fs::exists(c.out));
        }
}

TEST_F(CommandLineTools, RenderOnAFullDiskKeepsTheOldImage) {
    const std::string png = Write("rleo.png", "the old image");
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = png;
    options.width = 4000;
    options.height = 3000;
    {
        // Room for the scratch database, not for an image of twelve million pixels.
        test::FileSizeLimit fullAfter(32 * 1024);
        EXPECT_EQ(Render(options), 1);
    }
    EXPECT_EQ(err.str(), "sabrix: " + png + ": Cannot write: " + std::strerror(EFBIG) + "\n");
    EXPECT_EQ(test::ReadFileBytes(png), "the old image");
    EXPECT_EQ(fs::file_size(dir.file("rleo.txt")), kRLeo.size());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 4);  // template, star file, image and the files folder
}

TEST_F(CommandLineTools, ConvertWritesThreeColumnsAndAFailureLeavesNoOutputAndKeepsAnOldOne) {
    ConvertOptions options{Write("rleo.txt", kRLeo), dir.file("rleo.dat"), std::nullopt,
                           ConvertOptions::Target::ThreeColumn};
    EXPECT_EQ(Convert(options), 0);
    EXPECT_EQ(test::ReadFileBytes(options.out),
              "2454123.5          9.1  \r\n"
              "2454125.5         10.5  \r\n"
              "2454130.5        <11.2  \r\n");
    fs::remove(options.out);

    // 9.1234 is a number, so the file loads, but it does not fit the star file's layout.
    options.file = Write("long.txt", test::Lines({DataLine("2454123.5", "9.1", "V", "R Leo"),
                                                  DataLine("2454124.5", "9.1234", "V", "R Leo")}));
    options.to = ConvertOptions::Target::StarFile;
    options.out = dir.file("new.txt");
    EXPECT_EQ(Convert(options), 1);
    EXPECT_EQ(err.str(), "sabrix: " + options.out +
                             ": Cannot write: Cannot format Number: the observation at JD "
                             "2454124.5 has the magnitude 9.1234, which does not fit the six "
                             "columns that the star file layout has for a magnitude (12.345 "
                             "fits).\n");
    EXPECT_FALSE(fs::exists(options.out));

    options.out = Write("old.txt", "old content\r\n");
    EXPECT_EQ(Convert(options), 1);
    options.file = Write("empty.txt", "");
    EXPECT_EQ(Convert(options), 1);
    EXPECT_EQ(err.str(),
              "sabrix: " + options.file + ": " + kCheckSource + " Input past end of file\n");
    EXPECT_EQ(test::ReadFileBytes(options.out), "old content\r\n");
    // Nothing but the old file and the inputs: no temporary file left behind either.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Template97.db", "empty.txt", "long.txt", "old.txt",
                                               "rleo.txt"}));
}

// "--render v.txt --out v.txt" turned the observations into a PNG, and --convert, --bin-file
// and --curve-out replaced the input the same way, also through a link or a second name.
TEST_F(CommandLineTools, OutputThatIsTheInputIsRefusedBeforeAnythingIsWritten) {
    const std::string star = Write("rleo.txt", kRLeo);
    fs::create_symlink("rleo.txt", dir.file("link.txt"));
    fs::create_hard_link(star, dir.file("second name.txt"));
    for (const std::string& same :
         {star, dir.file("link.txt"), dir.file("second name.txt"), dir.path() + "/./rleo.txt"}) {
        SCOPED_TRACE(same);
        const std::string refusal =
            "sabrix: " + same + ": Cannot write: it is the file being read\n";
        EXPECT_EQ(Convert({star, same, std::nullopt, ConvertOptions::Target::Download}), 1);
        EXPECT_EQ(err.str(), refusal);
        RenderOptions render;
        render.file = star;
        render.out = same;
        EXPECT_EQ(Render(render), 1);
        EXPECT_EQ(err.str(), refusal);
        render.out = dir.file("rleo.png");
        render.bins = "1";
        render.binFile = same;
        EXPECT_EQ(Render(render), 1);
        EXPECT_EQ(err.str(), refusal);
        render.bins.reset();
        render.binFile.clear();
        render.poly = "1";
        render.curveOut = same;
        EXPECT_EQ(Render(render), 1);
        EXPECT_EQ(err.str(), refusal);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(test::ReadFileBytes(star), kRLeo);
    EXPECT_FALSE(fs::exists(dir.file("rleo.png")));
    EXPECT_FALSE(fs::exists(dir.file("files/Errors.txt")));
}

// "--out same.png --bin-file same.png" exited 0 with one of the two lost; two outputs on
// standard output were mixed there.
TEST_F(CommandLineTools, TwoOutputsNamingOneFileAreRefusedBeforeAnythingIsWritten) {
    RenderOptions render;
    render.file = Write("rleo.txt", kRLeo);
    render.bins = "1";
    render.poly = "1";
    render.phase = "10";
    const std::string png = dir.file("same.png");
    fs::create_symlink("same.png", dir.file("link.png"));
    for (const auto& [second, option] :
         std::vector<std::pair<std::string*, std::string>>{{&render.binFile, "--out"},
                                                           {&render.curveOut, "--out"},
                                                           {&render.phaseOut, "--out"}}) {
        for (const std::string& name : {png, dir.file("link.png"), dir.path() + "/./same.png"}) {
            render.out = png;
            *second = name;
            EXPECT_EQ(Render(render), 1);
            EXPECT_EQ(err.str(),
                      "sabrix: " + name + ": Cannot write: " + option + " writes it too\n");
            second->clear();
        }
    }
    render.out = "-";
    render.phaseOut = "-";
    EXPECT_EQ(Render(render), 1);
    EXPECT_EQ(err.str(), "sabrix: standard output: Cannot write: --out writes it too\n");
    render.out = dir.file("plot.png");
    render.binFile = dir.file("bins.txt");
    render.curveOut = dir.file("bins.txt");
    render.phaseOut.clear();
    EXPECT_EQ(Render(render), 1);
    EXPECT_EQ(err.str(),
              "sabrix: " + render.curveOut + ": Cannot write: --bin-file writes it too\n");
    EXPECT_EQ(out.str(), "");
    for (const char* name : {"same.png", "plot.png", "bins.txt"})
        EXPECT_FALSE(fs::exists(dir.file(name)));
}

// A star named "\x1b]0;...\a" in a file set the terminal's title when its label was printed.
TEST_F(CommandLineTools, ControlBytesOfANameReachStandardOutputAsQuestionMarks) {
    RenderOptions render;
    render.file =
        Write("r.txt", test::Lines({DataLine("2454123.5", "9.1", "V", "R\x1b]0;x\aLeo")}));
    render.out = dir.file("r.png");
    EXPECT_EQ(Render(render), 0);
    EXPECT_EQ(out.str(), "R?]0;X?LEO - (1 Points)\nRejected lines: 0\n");
    EXPECT_EQ(Convert({render.file, dir.file("w\x1b[2J.dat"), std::nullopt,
                       ConvertOptions::Target::ThreeColumn}),
              0);
    EXPECT_EQ(out.str(), "Wrote " + dir.file("w?[2J.dat") + "\nRejected lines: 0\n");
}

// A damaged template was blamed on the file being read, under the name of the scratch copy.
TEST_F(CommandLineTools, DamagedTemplateIsNamedAsTheFault) {
    test::WriteFileBytes(dir.file("Template97.db"), std::string(4096, 'x'));
    RenderOptions render;
    render.file = Write("rleo.txt", kRLeo);
    render.out = dir.file("rleo.png");
    EXPECT_EQ(Render(render), 1);
    EXPECT_EQ(err.str(), "sabrix: " + dir.file("Template97.db") +
                             ": The template database is damaged (file is not a database).\n");
}

// --convert said "Wrote x.csv" where --render of the same file said "Rejected lines: 1".
// A quoted field holding a line break cannot be told from a line cut short, so a line break
// ends the record there as everywhere else: its pieces are rejected lines, counted and kept.
TEST_F(CommandLineTools, ConvertCountsTheRejectedLinesAndALineBreakInAQuotedField) {
    EXPECT_EQ(Convert({Write("rleo.txt", kRLeo), dir.file("rleo.dat"), std::nullopt,
                       ConvertOptions::Target::ThreeColumn}),
              0);
    EXPECT_EQ(out.str(), "Wrote " + dir.file("rleo.dat") + "\nRejected lines: 1\n");

    const std::string broken = DataLine("2454124.5", "9.5", "V", "R Leo", "\"one\r\ntwo\"");
    const std::string file =
        Write("broken.txt", test::Lines({DataLine("2454123.5", "9.1", "V", "R Leo"), broken}));
    EXPECT_EQ(
        Convert({file, dir.file("broken.csv"), std::nullopt, ConvertOptions::Target::Download}), 0);
    EXPECT_EQ(out.str(), "Wrote " + dir.file("broken.csv") + "\nRejected lines: 2\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), broken + "\r\n");
}

// A named pipe or a device as --out was replaced by a regular file.
TEST_F(CommandLineTools, PipeAndDeviceOutputsAreWrittenInPlace) {
    const std::string star = Write("rleo.txt", kRLeo);
    const std::string fifo = dir.file("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(Convert({star, fifo, std::nullopt, ConvertOptions::Target::ThreeColumn}), 0)
        << err.str();
    char buffer[256] = {};
    const ssize_t got = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0))),
              "2454123.5          9.1  \r\n2454125.5         10.5  \r\n"
              "2454130.5        <11.2  \r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    const std::string null = dir.file("mynull");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device nodes here";
    RenderOptions render;
    render.file = star;
    render.out = null;
    EXPECT_EQ(Render(render), 0) << err.str();
    ASSERT_EQ(::lstat(null.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A fit that failed while it was drawn said so and still ended with 0 and a picture.
TEST_F(CommandLineTools, OverlayThatCannotBeDrawnFailsTheRun) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.png");
    options.bins = "5";  // seven days: two bins, too few to draw
    options.binFile = dir.file("rleo-bins.txt");
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str(),
              "sabrix: " + options.file + ": Too few bins for the number of days in plot.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(fs::exists(options.out));
    // The bin file is written as the window writes it before it says so.
    const std::string bins = test::ReadFileBytes(options.binFile);
    EXPECT_EQ(bins.rfind("Bins plotted for ", 0), 0u);
    EXPECT_EQ(std::count(bins.begin(), bins.end(), '\n'), 3 + 2);
}

// The curve's write failure named the input file; the bin file's and the refusals of a field
// had no "sabrix: " and no file; a refused DefaultSigma did not name the settings file.
TEST_F(CommandLineTools, MessagesNameTheFileTheyAreAbout) {
    const std::string star = Write("rleo.txt", kRLeo);
    const std::string missing = dir.file("no-such-folder/out.txt");
    const std::string noFile = std::string(": ") + std::strerror(ENOENT) + "\n";
    RenderOptions options;
    options.file = star;
    options.out = dir.file("rleo.png");
    options.poly = "1";
    options.curveOut = missing;
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str(), "sabrix: " + missing + ": Cannot write" + noFile);

    options.poly.reset();
    options.curveOut.clear();
    options.bins = "1";
    options.binFile = missing;
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str(), "sabrix: " + missing + ": Cannot write" + noFile);

    options.binFile.clear();
    options.bins = "abc";
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str().rfind("sabrix: " + star + ": Type the bin size", 0), 0u) << err.str();

    test::WriteFileBytes(dir.file("Sabrix.ini"), "[Sabrix.exe]\r\nDefaultSigma=-5\r\n");
    options.bins = "1";
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str().rfind(
                  "sabrix: " + dir.file("Sabrix.ini") + ": DefaultSigma=-5: Type the error bar", 0),
              0u)
        << err.str();
    options.sigma = "2";
    EXPECT_EQ(Render(options), 0) << err.str();
}

// Convert writes what the menu commands write for the same table.
class ConvertMatchesTheMenus : public test::CommandsFixture {
  protected:
    std::string Converted(const ConvertOptions& options) {
        std::ostringstream out, err;
        EXPECT_EQ(RunConvert(options, dir.path(), out, err), 0) << err.str();
        return test::ReadFileBytes(options.out);
    }
};

TEST_F(ConvertMatchesTheMenus, StarFileAsSaveToStarFileWritesIt) {
    // Everything after the first line, which carries the time of writing.
    auto body = [](const std::string& text) { return text.substr(text.find("\r\n") + 2); };
    const std::string original = dir.file("rleo.txt");
    test::WriteFileBytes(original, kRLeo);
    const std::string loaded = dir.file("loaded.txt");
    fs::copy_file(original, loaded);
    commands->Run(cmd::LoadStarFile, loaded);
    commands->Run(cmd::FinishFill);
    state().star.FileEdited = true;
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.messages.size(), 2u);  // the rejected line, then "Are you SURE?"

    const std::string converted = Converted({original, dir.file("converted.txt")});
    EXPECT_EQ(converted.rfind("Edited data for R Leo. File created on ", 0), 0u) << converted;
    EXPECT_EQ(std::count(converted.begin(), converted.end(), '\n'), 2 + 3);
    EXPECT_EQ(body(converted), body(test::ReadFileBytes(loaded)));
}

TEST_F(ConvertMatchesTheMenus, ThreeColumnFileAsSaveThreeColumnFileWritesIt) {
    const std::string path = dir.file("three-column.dat");
    fs::copy_file(test::SampleFile("three-column.dat"), path);
    prompts.text(std::nullopt);  // no offset for the reduced times
    commands->Run(cmd::LoadThreeColumnFile, path);
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("saved.txt")));
    commands->Run(cmd::mnuSaveXYZ_Click);
    ASSERT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Converted({path, dir.file("converted.txt"), ObservationFileKind::ThreeColumnFile}),
              test::ReadFileBytes(dir.file("saved.txt")));
}

TEST_F(ConvertMatchesTheMenus, DownloadAsSaveAsDownloadFileWritesItAndThreeColumnsAreRefused) {
    const std::string original = dir.file("rleo.txt");
    test::WriteFileBytes(original, kRLeo);
    commands->Run(cmd::LoadStarFile, original);
    commands->Run(cmd::FinishFill);
    prompts.file(QString::fromStdString(dir.file("saved.txt")));
    commands->Run(cmd::mnuSaveDownload_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);  // the rejected line
    EXPECT_EQ(Converted({original, dir.file("converted.txt"), std::nullopt,
                         ConvertOptions::Target::Download}),
              test::ReadFileBytes(dir.file("saved.txt")));

    std::ostringstream out, err;
    const ConvertOptions threeColumn{test::SampleFile("three-column.dat"), dir.file("x.txt"),
                                     ObservationFileKind::ThreeColumnFile,
                                     ConvertOptions::Target::Download};
    EXPECT_EQ(RunConvert(threeColumn, dir.path(), out, err), 1);
    EXPECT_EQ(err.str(), "sabrix: " + threeColumn.file +
                             ": A 3-column file cannot be written as a download file.\n");
    EXPECT_FALSE(fs::exists(threeColumn.out));
}

TEST(SabrixProgram, RendersWithoutAWindowAndRefusesAnUnknownOption) {
    test::TempProgramDir home;
    const std::string star = home.file("rleo.txt");
    test::WriteFileBytes(star, kRLeo);
    auto run = [&](const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SABRIX_HOME", QString::fromStdString(home.path()));
        env.remove("DISPLAY");
        process.setProcessEnvironment(env);
        process.start(QString::fromUtf8(SABRIX_EXECUTABLE), args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return std::make_tuple(process.exitCode(), process.readAllStandardOutput().toStdString(),
                               process.readAllStandardError().toStdString());
    };
    const auto [code, out, err] =
        run({"--render", QString::fromStdString(star), "--out",
             QString::fromStdString(home.file("rleo.png")), "--width", "300", "--height", "180"});
    EXPECT_EQ(code, 0) << err;
    EXPECT_EQ(out, "R LEO - (3 Points)\nRejected lines: 1\n");
    EXPECT_EQ(QImage(QString::fromStdString(home.file("rleo.png"))).size(), QSize(300, 180));
    // The run used the folder of SABRIX_HOME and left no working database behind.
    EXPECT_TRUE(fs::exists(home.file("files/Errors.txt")));
    EXPECT_FALSE(fs::exists(home.file("Sabrix97.db")));

    const auto [badCode, badOut, badErr] = run({"--no-such-option"});
    EXPECT_EQ(badCode, 2);
    EXPECT_EQ(badOut, "");
    EXPECT_EQ(badErr, "sabrix: unknown option: --no-such-option (sabrix --help shows the usage)\n");
}

// --render at 20000 x 20000 took two buffers of the picture's size in every format, SVG and PDF
// included. Measured on the program itself: its peak memory beyond a small picture's.
TEST(SabrixProgram, RenderKeepsOneBufferForARasterPictureAndNoneForAVectorOne) {
    test::TempProgramDir home;
    const std::string star = home.file("rleo.txt");
    test::WriteFileBytes(star, kRLeo);
    const auto peakKilobytes = [&](const std::string& out, int side) {
        const std::string sideText = std::to_string(side);
        const std::string path = home.file(out);
        std::vector<std::string> args = {SABRIX_EXECUTABLE, "--render", star,       "--out", path,
                                         "--width",         sideText,   "--height", sideText};
        std::vector<std::string> env = {"SABRIX_HOME=" + home.path()};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).rfind("SABRIX_HOME=", 0) != 0 &&
                std::string_view(*e).rfind("DISPLAY=", 0) != 0)
                env.emplace_back(*e);
        std::vector<char*> argv;
        std::vector<char*> envp;
        for (std::string& arg : args) argv.push_back(arg.data());
        for (std::string& variable : env) envp.push_back(variable.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(null, STDOUT_FILENO);
            ::execve(SABRIX_EXECUTABLE, argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(null);
        int status = 0;
        rusage usage{};
        EXPECT_EQ(::wait4(child, &status, 0, &usage), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
        return static_cast<double>(usage.ru_maxrss);
    };
    constexpr int kSide = 6000;
    const double picture = 4.0 * kSide * kSide / 1024;  // kilobytes of one RGB32 buffer
    for (const char* name : {"p.png", "p.svg", "p.pdf"}) {
        SCOPED_TRACE(name);
        const double base = peakKilobytes(name, 200);
        const double extra = peakKilobytes(name, kSide) - base;
        EXPECT_LT(extra, std::string(name) == "p.png" ? 1.3 * picture : 0.3 * picture);
    }
}

}  // namespace
}  // namespace sabrix
