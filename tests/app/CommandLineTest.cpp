// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSize>
#include <QString>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/CommandLine.h"
#include "core/FileFilter.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using Kind = CommandLineRequest::Kind;

// The arguments of a command line written with blanks between them.
std::vector<std::string> Args(const std::string& line) {
    std::vector<std::string> args;
    for (const QString& arg : QString::fromStdString(line).split(' ', Qt::SkipEmptyParts))
        args.push_back(arg.toStdString());
    return args;
}

TEST(ParseCommandLine, EachFormIsRecognisedAndEachMistakeNamed) {
    struct Case {
        std::vector<std::string> args;
        Kind kind;
        // Gui: the command line kept, then "|" and the file to load; Invalid: the problem.
        std::string detail;
    };
    std::vector<Case> cases = {
        {{}, Kind::Gui, "|"},
        {{"/alwayssave"}, Kind::Gui, "/alwayssave|"},
        {{"/data/r leo.txt"}, Kind::Gui, "/data/r leo.txt|/data/r leo.txt"},
        {{"--help"}, Kind::Help, ""},
        {Args("/alwayssave --version"), Kind::Version, ""},
        {Args("/alwayssave star.txt"), Kind::Invalid, "unexpected argument: star.txt"},
        {Args("/alwayssave /alwayssave"), Kind::Invalid, "/alwayssave must be the only argument"},
        {Args("a.txt --render"), Kind::Invalid, "unknown option: --render"},
        {Args("--render"), Kind::Invalid, "--render needs a file to load"},
        {Args("--convert"), Kind::Invalid, "--convert needs a file to load"},
        {Args("--render a.txt"), Kind::Invalid, "--render needs --out"},
        {Args("--render a.txt --out"), Kind::Invalid, "--out needs a path"},
        {Args("--render a.txt --out p --bins 10 --poly 2"), Kind::Invalid,
         "--bins and --poly exclude each other"},
        {Args("--render a.txt --out p --sigma 2"), Kind::Invalid,
         "--sigma and --bin-file need --bins"},
        {Args("--render a.txt --out p --curve-out c.txt"), Kind::Invalid,
         "--curve-out needs --poly"},
        {Args("--convert a.txt --out b --bins 10"), Kind::Invalid, "unknown option: --bins"},
        {Args("--convert a.txt --out b --stats"), Kind::Invalid, "unknown option: --stats"},
        {Args("--convert a --out b --to csv"), Kind::Invalid,
         "--to needs star, three-column or download"},
        {Args("--render a.txt b.txt --out p"), Kind::Invalid, "unexpected argument: b.txt"},
        {Args("--render a.txt --out plot.gif"), Kind::Invalid,
         "--out must end in .png, .jpg, .jpeg, .svg or .pdf: plot.gif"},
        {Args("--render a.txt --out plot"), Kind::Invalid,
         "--out must end in .png, .jpg, .jpeg, .svg or .pdf: plot"},
        {Args("--render a --out p --height"), Kind::Invalid,
         "--height needs a whole number from 50 to 20000"},
    };
    for (const char* bad : {"49", "20001", "12x", "99999999999"})
        cases.push_back({{"--render", "a.txt", "--out", "p", "--width", bad},
                         Kind::Invalid,
                         "--width needs a whole number from 50 to 20000"});
    // A window of four edges in the order left, right, top, bottom, each pair ascending.
    const std::string view =
        "--view needs JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM with left < right and top < bottom";
    for (const char* bad :
         {"1,2,3", "1,2,3,4,5", "1,2,x,4", "1,,3,4", "1,2,3,4,", " 1,2,3,4", "+1,2,3,4",
          "nan,2,3,4", "1,2,3,1e999", "2,1,3,4", "1,2,4,3", "1,1,3,4", "1,2,3,3"}) {
        cases.push_back({{"--render", "a.txt", "--out", "p", "--view", bad}, Kind::Invalid, view});
        cases.push_back({{"a.txt", "--view", bad}, Kind::Invalid, view});
    }
    cases.push_back({Args("--render a.txt --out p --view"), Kind::Invalid, view});
    for (const char* line : {"--view 1,2,3,4", "--convert a --out b --view 1,2,3,4"})
        cases.push_back({Args(line), Kind::Invalid, "unknown option: --view"});
    cases.push_back({Args("a.txt --view"), Kind::Invalid, view});
    cases.push_back(
        {Args("a.txt --view 1,2,3,4 b.txt"), Kind::Invalid, "unexpected argument: b.txt"});
    cases.push_back({Args("a.txt --view 1,2,3,4"), Kind::Gui, "a.txt --view 1,2,3,4|a.txt"});
    // How FILE is read: a kind forced one way, and reduced times given an offset.
    cases.push_back({Args("lc.dat --star-file --time-offset 2450000"), Kind::Gui,
                     "lc.dat --star-file --time-offset 2450000|lc.dat"});
    const std::string offset = "--time-offset needs a number of days";
    const std::string kinds = "--three-column and --star-file exclude each other";
    for (const char* line : {"lc.dat --time-offset", "lc.dat --time-offset 2.4e6x",
                             "--render lc.dat --out p.png --time-offset inf"})
        cases.push_back({Args(line), Kind::Invalid, offset});
    for (const char* line : {"lc.dat --three-column --star-file",
                             "--render lc.dat --out p.png --star-file "
                             "--three-column",
                             "--convert lc.dat --out b --three-column --star-file"})
        cases.push_back({Args(line), Kind::Invalid, kinds});
    cases.push_back({Args("--convert lc.dat --out b --time-offset 2450000"), Kind::Invalid,
                     "unknown option: --time-offset"});
    for (const Case& c : cases) {
        const CommandLineRequest r = ParseCommandLine(c.args);
        EXPECT_EQ(r.kind, c.kind) << c.detail;
        const std::string gui = r.commandLine + "|" + r.fileToLoad;
        EXPECT_EQ(c.kind == Kind::Invalid ? r.problem : c.kind == Kind::Gui ? gui : "", c.detail);
    }
}

TEST(ParseCommandLine, RenderAndConvertTakeTheirFilesSizesAndSwitches) {
    auto r = ParseCommandLine(Args(
        "--render star.txt --out plot.png --width 50 --height 20000 --three-column --omit-faint "
        "--stats"));
    ASSERT_EQ(r.kind, Kind::Render);
    EXPECT_EQ(r.render.file + " " + r.render.out, "star.txt plot.png");
    EXPECT_EQ(QSize(r.render.width, r.render.height), QSize(50, 20000));
    EXPECT_EQ(r.render.load.kind, ObservationFileKind::ThreeColumnFile);
    EXPECT_TRUE(r.render.omitFaint && r.render.stats);

    // Standard output and a device take a PNG whatever their name.
    for (const char* out : {"-", "/dev/null"})
        EXPECT_EQ(ParseCommandLine({"--render", "star.txt", "--out", out}).kind, Kind::Render)
            << out;

    r = ParseCommandLine(Args("--render star.txt --out plot.png"));
    EXPECT_EQ(QSize(r.render.width, r.render.height), QSize(1200, 700));
    EXPECT_FALSE(r.render.load.kind || r.render.load.timeOffset || r.render.omitFaint ||
                 r.render.stats);
    EXPECT_TRUE(r.render.bands.empty());

    // Band names are trimmed; a list that names none is refused.
    r = ParseCommandLine({"--render", "star.txt", "--out", "p.png", "--bands", " Vis. ,V,,TG "});
    EXPECT_EQ(r.render.bands, (std::vector<std::string>{"Vis.", "V", "TG"}));
    for (const char* list : {"", " , "})
        EXPECT_EQ(
            ParseCommandLine({"--render", "star.txt", "--out", "p.png", "--bands", list}).kind,
            Kind::Invalid)
            << list;

    r = ParseCommandLine(Args("--convert a.dat --three-column --out b.txt"));
    ASSERT_EQ(r.kind, Kind::Convert);
    EXPECT_EQ(r.convert.file + " " + r.convert.out, "a.dat b.txt");
    EXPECT_EQ(r.convert.kind, ObservationFileKind::ThreeColumnFile);
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::SameKind);
    r = ParseCommandLine(Args("--convert a.txt --out b.txt --to three-column"));
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::ThreeColumn);
    r = ParseCommandLine(Args("--convert a.dat --out b.txt --to star"));
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::StarFile);
    r = ParseCommandLine(Args("--convert a.txt --out b.txt --to download"));
    EXPECT_EQ(r.convert.to, ConvertOptions::Target::Download);

    // How FILE is read, for the window and for --render.
    r = ParseCommandLine(Args("lc.dat --star-file --time-offset 2400000.5"));
    ASSERT_EQ(r.kind, Kind::Gui);
    EXPECT_EQ(r.load.kind, ObservationFileKind::StarFile);
    EXPECT_EQ(r.load.timeOffset, 2400000.5);
    r = ParseCommandLine(Args("--render lc.dat --out p.png --time-offset 2450000"));
    EXPECT_EQ(r.render.load.timeOffset, 2450000.0);
    EXPECT_FALSE(r.render.load.kind);

    EXPECT_EQ(VersionText(), std::string("Sabrix ") + SABRIX_VERSION_TEXT);
    EXPECT_EQ(UsageText().rfind("Usage: sabrix", 0), 0u);
}

TEST(ParseCommandLine, ViewGivesTheEdgesOfTheWindowToRenderOrToShowAfterLoading) {
    const ViewOption want{2454000.5, 2454100, -1.5, 12};
    auto expectWant = [&](const std::optional<ViewOption>& got) {
        ASSERT_TRUE(got);
        EXPECT_EQ(std::make_tuple(got->jdLeft, got->jdRight, got->magTop, got->magBottom),
                  std::make_tuple(want.jdLeft, want.jdRight, want.magTop, want.magBottom));
    };
    const std::string edges = "2454000.5,2454100,-1.5,12";
    CommandLineRequest r =
        ParseCommandLine({"--render", "a.txt", "--view", edges, "--out", "p.png"});
    ASSERT_EQ(r.kind, Kind::Render);
    expectWant(r.render.view);
    EXPECT_FALSE(ParseCommandLine(Args("--render a.txt --out p.png")).render.view);

    r = ParseCommandLine({"/data/r leo.txt", "--view", edges});
    ASSERT_EQ(r.kind, Kind::Gui);
    EXPECT_EQ(r.fileToLoad, "/data/r leo.txt");
    expectWant(r.view);
    EXPECT_FALSE(ParseCommandLine({"a.txt"}).view);
}

// Fails: std::from_chars reads "inf" and "-inf", so these windows are taken, and a render of
// one ends with "Error "Invalid property value" encountered in module Scaler." on the error
// stream and exit code 0. Enable once --view takes finite numbers only.
TEST(ParseCommandLine, ViewRefusesEdgesThatAreNotFinite) {
    for (const char* edges : {"-inf,inf,8,12", "2454000,2454100,-inf,12", "1,2,3,infinity"}) {
        EXPECT_EQ(ParseCommandLine({"--render", "a.txt", "--out", "p", "--view", edges}).kind,
                  Kind::Invalid)
            << edges;
        EXPECT_EQ(ParseCommandLine({"a.txt", "--view", edges}).kind, Kind::Invalid) << edges;
    }
}

// The options named in a text: "--word", "-h" and "/alwayssave".
std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((^|[^\w-])(--[a-z][a-z-]*|-h\b|/alwayssave))");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[2]);
    return found;
}

// The lines of text from the one starting with from up to the one starting with to.
std::string Section(const std::string& text, const std::string& from, const std::string& to) {
    const size_t start = text.find("\n" + from);
    const size_t end = text.find("\n" + to, start + 1);
    EXPECT_NE(start, std::string::npos) << from;
    return start == std::string::npos ? std::string() : text.substr(start, end - start);
}

// Each option of the usage lines has a line of its own below them that tells what it does,
// and the manual page names the same options in its synopsis and describes each in a
// paragraph of its own.
TEST(UsageText, ExplainsEveryOptionAndTheManualPageDescribesTheSame) {
    const std::string help = UsageText();
    const size_t gap = help.find("\n\n");
    ASSERT_NE(gap, std::string::npos);
    const std::set<std::string> synopsis = OptionsIn(help.substr(0, gap));
    EXPECT_TRUE(synopsis.count("--render") && synopsis.count("--curve-out") &&
                synopsis.count("/alwayssave") && synopsis.count("-h"));
    // An explanation: a line that starts with two blanks and the option ("-h, --help").
    std::set<std::string> explained;
    std::istringstream lines(help.substr(gap));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) != 0 || line.size() < 3 || (line[2] != '-' && line[2] != '/'))
            continue;
        const std::string head = line.substr(2, line.find("  ", 2) - 2);
        for (const std::string& o : OptionsIn(head))
            if (head.rfind(o, 0) == 0 || head.find(", " + o) != std::string::npos)
                explained.insert(o);
    }
    EXPECT_EQ(explained, synopsis);

    std::string man = test::ReadFileBytes(SABRIX_SOURCE_DIR "/docs/sabrix.1.in");
    man = std::regex_replace(man, std::regex(R"(\\-)"), "-");
    EXPECT_EQ(OptionsIn(Section(man, ".SH SYNOPSIS", ".SH")), synopsis);
    std::set<std::string> described;
    std::istringstream page(Section(man, ".SH OPTIONS", ".SH EXIT STATUS"));
    for (std::string line, before; std::getline(page, line); before = line)
        if (before == ".TP")
            for (const std::string& o : OptionsIn(line)) described.insert(o);
    EXPECT_EQ(described, synopsis);
}

TEST(TranslateFileFilter, PipeFiltersBecomeQtFiltersAndBrokenOnesAllFiles) {
    const std::vector<std::pair<QString, QStringList>> cases = {
        {"All Files (*.*)|*.*|", {"All Files (*)"}},
        {"Text (*.txt)|*.txt|Data|*.dat;*.csv|", {"Text (*.txt)", "Data (*.dat *.csv)"}},
        {"", {"All Files (*)"}},
        {"Only a description", {"All Files (*)"}},
        {"|*.txt|", {"Files (*.txt)"}},
    };
    for (const auto& [filter, want] : cases)
        EXPECT_EQ(TranslateFileFilter(filter).join(";"), want.join(";")) << filter.toStdString();
}

}  // namespace
}  // namespace sabrix
