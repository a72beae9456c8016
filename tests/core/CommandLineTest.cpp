#include <gtest/gtest.h>

#include <QProcess>

#include "core/CommandLine.h"
#include "core/FileFilter.h"

namespace sabrix {
namespace {

using Kind = CommandLineRequest::Kind;

TEST(ParseCommandLine, NoArgumentStartsTheWindowsWithAnEmptyCommandLine) {
    const auto r = ParseCommandLine({});
    EXPECT_EQ(r.kind, Kind::Gui);
    EXPECT_EQ(r.commandLine, "");
}

TEST(ParseCommandLine, AlwaysSaveAloneIsKeptAsTheWholeCommandLine) {
    const auto r = ParseCommandLine({"/alwayssave"});
    EXPECT_EQ(r.kind, Kind::Gui);
    EXPECT_EQ(r.commandLine, "/alwayssave");
}

TEST(ParseCommandLine, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(ParseCommandLine({"--help"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"/alwayssave", "--version"}).kind, Kind::Version);
}

TEST(ParseCommandLine, AnythingElseIsRefusedWithTheOffendingArgument) {
    auto r = ParseCommandLine({"--render"});
    EXPECT_EQ(r.kind, Kind::Invalid);
    EXPECT_EQ(r.problem, "--render needs a file to load");
    r = ParseCommandLine({"/alwayssave", "star.txt"});
    EXPECT_EQ(r.kind, Kind::Invalid);
    EXPECT_EQ(r.problem, "unexpected argument: star.txt");
    EXPECT_EQ(ParseCommandLine({"/alwayssave", "/alwayssave"}).kind, Kind::Invalid);
}

struct ProgramRun {
    int code;
    QString out;
    QString err;
};

ProgramRun RunProgram(const QStringList& args) {
    QProcess process;
    process.start(QString::fromUtf8(SABRIX_EXECUTABLE), args);
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(SabrixProgram, VersionAndHelpPrintAndEndWithoutAWindow) {
    const ProgramRun version = RunProgram({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QString("Sabrix ") + SABRIX_VERSION_TEXT + "\n");
    const ProgramRun help = RunProgram({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: sabrix")) << help.out.toStdString();
}

TEST(SabrixProgram, UnknownOptionPrintsUsageOnStandardErrorAndExitsWithTwo) {
    const ProgramRun r = RunProgram({"--no-such-option"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.contains("unknown option: --no-such-option"));
    EXPECT_TRUE(r.err.contains("Usage: sabrix"));
}

TEST(TranslateFileFilter, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(TranslateFileFilter("All Files (*.*)|*.*|"), QStringList{"All Files (*)"});
    EXPECT_EQ(TranslateFileFilter("Text (*.txt)|*.txt|Data|*.dat;*.csv|"),
              (QStringList{"Text (*.txt)", "Data (*.dat *.csv)"}));
}

TEST(TranslateFileFilter, EmptyOrBrokenFiltersFallBackToAllFiles) {
    EXPECT_EQ(TranslateFileFilter(""), QStringList{"All Files (*)"});
    EXPECT_EQ(TranslateFileFilter("Only a description"), QStringList{"All Files (*)"});
    EXPECT_EQ(TranslateFileFilter("|*.txt|"), QStringList{"Files (*.txt)"});
}

}  // namespace
}  // namespace sabrix
