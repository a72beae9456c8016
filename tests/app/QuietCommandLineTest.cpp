// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a user meets it in a terminal: standard error carries the program's own
// messages alone, one line each, beginning "sabrix: " and naming the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/CommandLine.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

// "Cannot write /d/x.png: ..." came without the file first, as the text named it.
TEST(TerminalMessage, OneLineThatBeginsWithTheFile) {
    struct Case {
        std::string file, text, want;
    };
    const std::vector<Case> cases = {
        {"/d/star.txt", "Error in loading database. Check source file.\r\nInput past end of file",
         "sabrix: /d/star.txt: Error in loading database. Check source file. Input past end of "
         "file\n"},
        {"/d/x.png", "Cannot write: No space left on device",
         "sabrix: /d/x.png: Cannot write: No space left on device\n"},
        {"/d/x.txt", "File /d/x.txt not found.", "sabrix: /d/x.txt: File /d/x.txt not found.\n"},
        {"/d/a b.txt", "first\r\n\r\nsecond\rthird\n", "sabrix: /d/a b.txt: first second third\n"},
        {"", "No file here.", "sabrix: No file here.\n"},
        // NUL and control bytes of a file are never echoed raw.
        {"/d/x\x1b[2J.txt", std::string("JD was: 24\0 \x1b[31m\x7f\xc2\x85", 20),
         "sabrix: /d/x?[2J.txt: JD was: 24? ?[31m??\n"},
        {"/d/\xc3\xa9t\xc3\xa9.txt", "caf\xc3\xa9",
         "sabrix: /d/\xc3\xa9t\xc3\xa9.txt: caf\xc3\xa9\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(TerminalMessage(c.file, c.text), c.want) << c.text;
}

struct Outcome {
    int code;
    std::string out, err;
};

// Runs the built program as a user's shell would, without a desktop session.
// childSetup runs in the child between fork and exec; tempDir, when given, is its TMPDIR.
// extraEnv is set after that.
Outcome RunSabrix(const QStringList& args, const std::string& home,
                  std::function<void()> childSetup = {}, const std::string& tempDir = {},
                  const std::vector<std::pair<QString, QString>>& extraEnv = {}) {
    QProcess process;
    if (childSetup) process.setChildProcessModifier(childSetup);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SABRIX_HOME", QString::fromStdString(home));
    if (!tempDir.empty()) env.insert("TMPDIR", QString::fromStdString(tempDir));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"})
        env.remove(name);
    for (const auto& [name, value] : extraEnv) env.insert(name, value);
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(SABRIX_EXECUTABLE), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Every run without XDG_RUNTIME_DIR (as root, for one) printed a warning of Qt's first.
TEST(SabrixCommandLine, RunWithoutARuntimeFolderPrintsNothingOnStandardError) {
    test::TempProgramDir home;
    const std::string png = home.file("plot.png");
    const Outcome render = RunSabrix({"--render", Q(test::SampleFile("download-ccd.txt")), "--out",
                                      Q(png), "--width", "200", "--height", "150"},
                                     home.path());
    EXPECT_EQ(render.code, 0);
    EXPECT_EQ(render.err, "");
    EXPECT_TRUE(fs::exists(png));

    const Outcome convert = RunSabrix({"--convert", Q(test::SampleFile("three-column.dat")),
                                       "--three-column", "--out", Q(home.file("copy.dat"))},
                                      home.path());
    EXPECT_EQ(convert.code, 0);
    EXPECT_EQ(convert.err, "");
}

// The window without a display ended in Qt's advice to reinstall the program (exit 134).
TEST(SabrixCommandLine, WindowWithoutADisplaySaysSoAndEndsWithOne) {
    test::TempProgramDir home;
    const std::string want =
        "sabrix: no display (use --render, --convert or --periodogram without one)\n";
    const Outcome none = RunSabrix({}, home.path());
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, want);
    // A display named but not there (an X server gone, a session over ssh without it).
    const Outcome gone = RunSabrix({Q(test::SampleFile("download-ccd.txt"))}, home.path(), {}, {},
                                   {{"DISPLAY", ":4093"}});
    EXPECT_EQ(gone.code, 1);
    EXPECT_EQ(gone.err, want);
    EXPECT_FALSE(fs::exists(home.file("Sabrix97.db")));
}

TEST(SabrixCommandLine, FailureIsOneLineNamingTheFileWithExitCodeOne) {
    test::TempProgramDir home;
    const std::string missing = home.file("no such star.txt");
    const Outcome run =
        RunSabrix({"--render", Q(missing), "--out", Q(home.file("x.png"))}, home.path());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("sabrix: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(SabrixCommandLine, HelpListsTheExitCodesAndWrongUsageEndsWithTwo) {
    test::TempProgramDir home;
    const Outcome help = RunSabrix({"--help"}, home.path());
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_NE(help.out.find("Exit codes: 0 done, 1 failed"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("2 wrong usage"), std::string::npos) << help.out;

    const Outcome wrong = RunSabrix({"--render", Q(home.file("a.txt"))}, home.path());
    EXPECT_EQ(wrong.code, 2);
    EXPECT_EQ(wrong.err, "sabrix: --render needs --out (sabrix --help shows the usage)\n");
}

// "--out -" writes to standard output, and its failure there is said like any other.
TEST(SabrixCommandLine, OutputDashIsStandardOutput) {
    test::TempProgramDir home;
    const std::string threeColumn = test::SampleFile("three-column.dat");
    const Outcome convert =
        RunSabrix({"--convert", Q(threeColumn), "--three-column", "--out", "-"}, home.path());
    EXPECT_EQ(convert.code, 0) << convert.err;
    EXPECT_EQ(convert.err, "");
    const Outcome copy = RunSabrix(
        {"--convert", Q(threeColumn), "--three-column", "--out", Q(home.file("copy.dat"))},
        home.path());
    EXPECT_EQ(copy.code, 0) << copy.err;
    EXPECT_EQ(convert.out, test::ReadFileBytes(home.file("copy.dat")));

    const Outcome render = RunSabrix({"--render", Q(test::SampleFile("download-ccd.txt")), "--out",
                                      "-", "--width", "200", "--height", "150"},
                                     home.path());
    EXPECT_EQ(render.code, 0) << render.err;
    EXPECT_EQ(render.out.rfind("\x89PNG\r\n", 0), 0u);

    // The summary stays off the output; a count of rejected lines is still said.
    const std::string star = home.file("star.txt");
    const std::string line = "2454123.5,9.1,,,V,ABC,,,,,,,,,,,,R LEO";
    test::WriteFileBytes(star, line + "\nnot an observation\n");
    const Outcome rejected =
        RunSabrix({"--convert", Q(star), "--to", "download", "--out", "-"}, home.path());
    EXPECT_EQ(rejected.code, 0) << rejected.err;
    // The line comes back as it was read.
    EXPECT_EQ(rejected.out, line + "\n");
    EXPECT_EQ(rejected.err, "sabrix: " + star + ": Rejected lines: 1\n");

    const Outcome full =
        RunSabrix({"--convert", Q(threeColumn), "--three-column", "--out", "-"}, home.path(), [] {
            const int fd = ::open("/dev/full", O_WRONLY);
            if (fd >= 0) ::dup2(fd, STDOUT_FILENO);
        });
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err, std::string("sabrix: standard output: Cannot write: ") +
                            std::strerror(ENOSPC) + "\n");
}

// "--render ''" said "filesystem error: cannot make absolute path".
TEST(SabrixCommandLine, EmptyFileNameIsWrongUsage) {
    test::TempProgramDir home;
    const Outcome run = RunSabrix({"--render", "", "--out", Q(home.file("x.png"))}, home.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "sabrix: --render needs a file to load (sabrix --help shows the usage)\n");
}

// A write past the file-size limit of the shell (ulimit -f) killed the program with SIGXFSZ
// and left its scratch database behind. Now it fails as on a full disk: a message, exit code
// one, and no scratch folder left in the temporary folder nor anything beside the output.
TEST(SabrixCommandLine, WritePastTheFileSizeLimitFailsWithAMessageAndLeavesNothing) {
    test::TempProgramDir home;
    test::TempProgramDir temp(false);
    const std::string out = home.file("copy.dat");
    const Outcome run = RunSabrix(
        {"--convert", Q(test::SampleFile("download-mixed.txt")), "--out", Q(out), "--to",
         "three-column"},
        home.path(),
        [] {
            std::signal(SIGXFSZ, SIG_DFL);  // what a user's shell hands on
            const rlimit limit{64 * 1024, 64 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        temp.path());
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_EQ(run.err.rfind("sabrix: ", 0), 0u) << run.err;
    for (const auto& entry : fs::directory_iterator(temp.path()))  // Qt's runtime-USER may stay
        EXPECT_EQ(entry.path().filename().string().rfind("sabrix-", 0), std::string::npos)
            << entry.path();
    for (const auto& entry : fs::directory_iterator(home.path()))
        EXPECT_EQ(entry.path().filename().string().find("copy.dat"), std::string::npos)
            << entry.path();
}

// SABRIX_HOME naming a folder that did not exist yet ended the program with "Database
// template .../Template97.db missing.".
TEST(SabrixCommandLine, NewSabrixHomeIsCreatedAndTakesTheTemplateBesideTheProgram) {
    test::TempProgramDir root(false);
    const std::string home = root.file("not yet/sabrix");
    const Outcome run = RunSabrix({"--render", Q(test::SampleFile("three-column.dat")),
                                   "--three-column", "--out", Q(root.file("plot.png"))},
                                  home);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(fs::is_directory(home + "/files"));
    EXPECT_FALSE(fs::exists(home + "/Template97.db"));
}

}  // namespace
}  // namespace sabrix
