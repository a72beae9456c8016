#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/CommandLine.h"
#include "core/SettingsFile.h"
#include "shell/CommandLineTools.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;
using Kind = CommandLineRequest::Kind;

// ---- The command line ----

TEST(ParseCommandLine, RenderTakesItsFileOutputSizeAndSwitches) {
    const auto r =
        ParseCommandLine({"--render", "star.txt", "--out", "plot.png", "--width", "640", "--height",
                          "480", "--three-column", "--omit-faint", "--stats"});
    ASSERT_EQ(r.kind, Kind::Render);
    EXPECT_EQ(r.render.file, "star.txt");
    EXPECT_EQ(r.render.out, "plot.png");
    EXPECT_EQ(r.render.width, 640);
    EXPECT_EQ(r.render.height, 480);
    EXPECT_TRUE(r.render.threeColumn);
    EXPECT_TRUE(r.render.omitFaint);
    EXPECT_TRUE(r.render.stats);

    const auto plain = ParseCommandLine({"--render", "star.txt", "--out", "plot.png"});
    ASSERT_EQ(plain.kind, Kind::Render);
    EXPECT_EQ(plain.render.width, 1200);
    EXPECT_EQ(plain.render.height, 700);
    EXPECT_FALSE(plain.render.threeColumn);
    EXPECT_FALSE(plain.render.omitFaint);
    EXPECT_FALSE(plain.render.stats);
}

TEST(ParseCommandLine, ConvertTakesTheKindReadAndTheKindWritten) {
    auto r = ParseCommandLine({"--convert", "a.dat", "--three-column", "--out", "b.txt"});
    ASSERT_EQ(r.kind, Kind::Convert);
    EXPECT_EQ(r.convert.file, "a.dat");
    EXPECT_EQ(r.convert.out, "b.txt");
    EXPECT_TRUE(r.convert.threeColumn);
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::SameKind);

    r = ParseCommandLine({"--convert", "a.txt", "--out", "b.txt", "--to", "three-column"});
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::ThreeColumn);
    r = ParseCommandLine({"--convert", "a.dat", "--out", "b.txt", "--to", "star"});
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::StarFile);
}

TEST(ParseCommandLine, AFileAloneIsLoadedIntoTheWindow) {
    const auto r = ParseCommandLine({"/data/r leo.txt"});
    EXPECT_EQ(r.kind, Kind::Gui);
    EXPECT_EQ(r.fileToLoad, "/data/r leo.txt");
    EXPECT_EQ(r.commandLine, "/data/r leo.txt");
}

TEST(ParseCommandLine, MistakesOfRenderAndConvertAreNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--render", "a.txt"}, "--render needs --out"},
        {{"--convert", "a.txt", "--to", "star"}, "--convert needs --out"},
        {{"--render", "a.txt", "--out"}, "--out needs a path"},
        {{"--render", "--out", "p.png"}, "--render needs a file to load"},
        {{"--convert"}, "--convert needs a file to load"},
        {{"--render", "a.txt", "--out", "p.png", "--bins", "10"}, "unknown option: --bins"},
        {{"--render", "a.txt", "--out", "p.png", "--to", "star"}, "unknown option: --to"},
        {{"--convert", "a.txt", "--out", "b", "--stats"}, "unknown option: --stats"},
        {{"--convert", "a.txt", "--out", "b", "--width", "100"}, "unknown option: --width"},
        {{"--convert", "a.txt", "--out", "b", "--to", "csv"}, "--to needs star or three-column"},
        {{"--convert", "a.txt", "--out", "b", "--to"}, "--to needs star or three-column"},
        {{"--render", "a.txt", "b.txt", "--out", "p.png"}, "unexpected argument: b.txt"},
        {{"a.txt", "--render"}, "unknown option: --render"},
    };
    for (const auto& [args, problem] : cases) {
        const auto r = ParseCommandLine(args);
        EXPECT_EQ(r.kind, Kind::Invalid) << problem;
        EXPECT_EQ(r.problem, problem);
    }
}

TEST(ParseCommandLine, SizesMustBeWholeNumbersFromFiftyToTwentyThousand) {
    for (const char* bad : {"49", "0", "-640", "20001", "12x", "6.5", "", "99999999999"}) {
        const auto r = ParseCommandLine({"--render", "a.txt", "--out", "p.png", "--width", bad});
        EXPECT_EQ(r.kind, Kind::Invalid) << bad;
        EXPECT_EQ(r.problem, "--width needs a whole number from 50 to 20000");
    }
    EXPECT_EQ(ParseCommandLine({"--render", "a.txt", "--out", "p.png", "--height"}).problem,
              "--height needs a whole number from 50 to 20000");
    const auto edges = ParseCommandLine(
        {"--render", "a.txt", "--out", "p.png", "--width", "50", "--height", "20000"});
    ASSERT_EQ(edges.kind, Kind::Render);
    EXPECT_EQ(edges.render.width, 50);
    EXPECT_EQ(edges.render.height, 20000);
}

// ---- Render and convert ----

// One line of a download file: the eighteen fields, the ones not given left empty.
std::string DataLine(const std::string& jd, const std::string& mag, const std::string& band,
                     const std::string& star) {
    std::vector<std::string> fields(18);
    fields[0] = jd;
    fields[1] = mag;
    fields[4] = band;
    fields[5] = "ABC";
    fields[17] = star;
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Three observations of R Leo and one line of the wrong field count.
const std::string kRLeo = Lines({DataLine("2454123.5", "9.1", "V", "R Leo"), "a,b,c",
                                 DataLine("2454125.5", "10.5", "R", "R Leo"),
                                 DataLine("2454130.5", "<11.2", "V", "R Leo")});

// Everything after the first line (the dated header of a star file).
std::string AfterFirstLine(const std::string& text) {
    const size_t end = text.find("\r\n");
    return end == std::string::npos ? std::string() : text.substr(end + 2);
}

class CommandLineTools : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& text) {
        test::WriteFileBytes(dir.file(name), text);
        return dir.file(name);
    }

    int Render(RenderOptions options) {
        out.str("");
        err.str("");
        return RunRender(options, dir.path(), out, err);
    }

    int Convert(ConvertOptions options) {
        out.str("");
        err.str("");
        return RunConvert(options, dir.path(), out, err);
    }

    test::TempProgramDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CommandLineTools, RenderDrawsThePlotAreaAndPrintsTheLabelAndTheRejectedLines) {
    RenderOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.png");
    options.width = 320;
    options.height = 200;
    EXPECT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(), "R LEO - (3 Points)\nRejected lines: 1\n");
    EXPECT_EQ(err.str(), "");
    const QImage image(QString::fromStdString(options.out));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(320, 200));
    // The rejected line went to the error file of the program's files folder.
    EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "a,b,c\r\n");

    options.omitFaint = true;
    options.stats = true;
    EXPECT_EQ(Render(options), 0);
    EXPECT_EQ(out.str(),
              "R LEO - (2 Points)\nRejected lines: 1\n"
              "High Mag. = 9.1   JD = 2454123.5\n"
              "Low Mag. = 11.2   JD = 2454130.5\n");
}

TEST_F(CommandLineTools, RenderOfAFileWithoutDataSaysSoOnTheErrorStream) {
    RenderOptions options;
    options.file = Write("none.txt", Lines({"JD,Magnitude", "no data here"}));
    options.out = dir.file("none.png");
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Error in loading database. Check source file.\n");
    EXPECT_FALSE(fs::exists(options.out));

    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("no-such-folder/rleo.png");
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Cannot write " + options.out + "\n");

    options.file = dir.file("missing.txt");
    options.out = dir.file("none.png");
    EXPECT_EQ(Render(options), 1);
    EXPECT_EQ(err.str().rfind("Error in loading database. Check source file.\r\n", 0), 0u)
        << err.str();
    EXPECT_FALSE(fs::exists(options.out));
}

TEST_F(CommandLineTools, FailedConversionLeavesNoOutputAndKeepsAnExistingOne) {
    // 9.1234 is a number, so the file loads, but it does not fit the star file's layout.
    ConvertOptions options;
    options.file = Write("long.txt", Lines({DataLine("2454123.5", "9.1", "V", "R Leo"),
                                            DataLine("2454124.5", "9.1234", "V", "R Leo")}));
    options.to = ConvertOptions::Target::StarFile;
    options.out = dir.file("new.txt");
    EXPECT_EQ(Convert(options), 1);
    EXPECT_EQ(err.str(), "Cannot format Number\n");
    EXPECT_FALSE(fs::exists(options.out));

    options.out = Write("old.txt", "old content\r\n");
    EXPECT_EQ(Convert(options), 1);
    EXPECT_EQ(test::ReadFileBytes(options.out), "old content\r\n");

    options.file = Write("empty.txt", "");
    EXPECT_EQ(Convert(options), 1);
    EXPECT_EQ(err.str(),
              "Error in loading database. Check source file.\r\nInput past end of file\n");
    EXPECT_EQ(test::ReadFileBytes(options.out), "old content\r\n");
    // Nothing but the old file and the inputs: no temporary file left behind either.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Template97.db", "empty.txt", "long.txt", "old.txt"}));
}

TEST_F(CommandLineTools, StarFileConvertsToThreeColumnsWithTheFainterThanMark) {
    ConvertOptions options;
    options.file = Write("rleo.txt", kRLeo);
    options.out = dir.file("rleo.dat");
    options.to = ConvertOptions::Target::ThreeColumn;
    EXPECT_EQ(Convert(options), 0);
    EXPECT_EQ(test::ReadFileBytes(options.out),
              "2454123.5          9.1  \r\n"
              "2454125.5         10.5  \r\n"
              "2454130.5        <11.2  \r\n");
}

// Convert writes what the menu commands write for the same table.
class ConvertMatchesTheMenus : public test::PlotWindowFixture {
  protected:
    void SetUp() override {
        test::PlotWindowFixture::SetUp();
        window->state().settings = DefaultSettings(dir.path());
        window->resize(800, 500);
    }

    std::string Converted(ConvertOptions options) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunConvert(options, dir.path(), out, err), 0) << err.str();
        EXPECT_EQ(err.str(), "");
        return test::ReadFileBytes(options.out);
    }
};

TEST_F(ConvertMatchesTheMenus, StarFileIsWrittenAsSaveToStarFileWritesIt) {
    const std::string original = dir.file("rleo.txt");
    test::WriteFileBytes(original, kRLeo);
    const std::string loaded = dir.file("loaded.txt");
    fs::copy_file(original, loaded);
    prompts.file(QString::fromStdString(loaded));
    window->mnuLoad->trigger();
    window->state().star.FileEdited = true;
    prompts.answer(Answer::Yes);
    window->mnuSave->trigger();
    ASSERT_EQ(prompts.messages.size(), 2u);  // the rejected line, then "Are you SURE?"
    const std::string saved = test::ReadFileBytes(loaded);

    ConvertOptions options;
    options.file = original;
    options.out = dir.file("converted.txt");
    const std::string converted = Converted(options);
    EXPECT_EQ(converted.rfind("Edited data for R Leo. File created on ", 0), 0u) << converted;
    EXPECT_EQ(AfterFirstLine(converted), AfterFirstLine(saved));
    EXPECT_EQ(std::count(converted.begin(), converted.end(), '\n'), 2 + 3);
}

TEST_F(ConvertMatchesTheMenus, ThreeColumnFileIsWrittenAsSaveThreeColumnFileWritesIt) {
    const std::string path = dir.file("three-column.dat");
    fs::copy_file(test::SampleFile("three-column.dat"), path);
    prompts.file(QString::fromStdString(path));
    window->mnuXYZ->trigger();
    window->state().star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("saved.txt")));
    window->mnuSaveXYZ->trigger();
    ASSERT_TRUE(prompts.messages.empty());

    ConvertOptions options;
    options.file = path;
    options.threeColumn = true;
    options.out = dir.file("converted.txt");
    EXPECT_EQ(Converted(options), test::ReadFileBytes(dir.file("saved.txt")));
}

// ---- The program itself ----

struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

ProgramRun RunSabrix(const std::string& home, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SABRIX_HOME", QString::fromStdString(home));
    env.remove("DISPLAY");
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(SABRIX_EXECUTABLE), args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

TEST(SabrixProgram, RendersAndConvertsWithoutAWindow) {
    test::TempProgramDir home;
    const std::string star = home.file("rleo.txt");
    test::WriteFileBytes(star, kRLeo);

    const ProgramRun render =
        RunSabrix(home.path(), {"--render", QString::fromStdString(star), "--out",
                                QString::fromStdString(home.file("rleo.png")), "--width", "300",
                                "--height", "180"});
    EXPECT_EQ(render.code, 0) << render.err;
    EXPECT_EQ(render.out, "R LEO - (3 Points)\nRejected lines: 1\n");
    EXPECT_EQ(QImage(QString::fromStdString(home.file("rleo.png"))).size(), QSize(300, 180));
    // The run used the folder of SABRIX_HOME and left no working database behind.
    EXPECT_TRUE(fs::exists(home.file("files/Errors.txt")));
    EXPECT_FALSE(fs::exists(home.file("Sabrix97.db")));

    const ProgramRun convert = RunSabrix(
        home.path(), {"--convert", QString::fromStdString(star), "--out",
                      QString::fromStdString(home.file("rleo.dat")), "--to", "three-column"});
    EXPECT_EQ(convert.code, 0) << convert.err;
    EXPECT_EQ(test::ReadFileBytes(home.file("rleo.dat")),
              "2454123.5          9.1  \r\n"
              "2454125.5         10.5  \r\n"
              "2454130.5        <11.2  \r\n");

    const ProgramRun failed =
        RunSabrix(home.path(), {"--convert", QString::fromStdString(home.file("missing.txt")),
                                "--out", QString::fromStdString(home.file("out.txt"))});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.out, "");
    // Qt may print notes of its own first; the program's message is there in full.
    EXPECT_NE(failed.err.find("Error in loading database. Check source file.\r\n"),
              std::string::npos)
        << failed.err;
    EXPECT_FALSE(fs::exists(home.file("out.txt")));
}

}  // namespace
}  // namespace sabrix
