// SPDX-License-Identifier: GPL-3.0-or-later
// The files of the command line under a locale whose decimal point is a comma: the same bytes
// as under the C locale, and each observation file loads back to the table it came from.
#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "support/CommaLocale.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

// The text without the lines that carry the time of writing.
std::string Undated(const std::string& text) {
    static const std::regex dated(R"(\d{1,2}[-/]\d{1,2}[-/]\d{4})");
    std::string kept;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!std::regex_search(line, dated)) kept += line + '\n';
    return kept;
}

class CommaLocaleFiles : public ::testing::Test {
  protected:
    // Runs a command line; its printed lines are kept under the name "stdout " + the options.
    void Run(std::vector<std::string> args, std::map<std::string, std::string>& got) {
        const CommandLineRequest request = ParseCommandLine(args);
        std::ostringstream out, err;
        int code = 1;
        if (request.kind == CommandLineRequest::Kind::Convert)
            code = RunConvert(request.convert, dir.path(), out, err);
        else if (request.kind == CommandLineRequest::Kind::Render)
            code = RunRender(request.render, dir.path(), out, err);
        else if (request.kind == CommandLineRequest::Kind::Periodogram)
            code = RunPeriodogram(request.periodogram, dir.path(), out, err);
        EXPECT_EQ(code, 0) << args[0] << " " << args[1] << ": " << request.problem << err.str();
        got["stdout " + args[0] + " " + args[1]] = out.str();
    }

    // Every file the command line writes, from the samples, under the names given with tag.
    std::map<std::string, std::string> WriteAll(const std::string& tag) {
        const std::string ccd = test::SampleFile("download-ccd.txt");
        const std::string xyz = test::SampleFile("three-column.dat");
        std::map<std::string, std::string> got;
        Run({"--convert", ccd, "--to", "star", "--out", dir.file(tag + ".star")}, got);
        Run({"--convert", ccd, "--to", "download", "--out", dir.file(tag + ".csv")}, got);
        Run({"--convert", xyz, "--three-column", "--out", dir.file(tag + ".dat")}, got);
        Run({"--render", ccd, "--bins", "1", "--bin-file", dir.file(tag + ".bins"), "--out",
             dir.file(tag + "-bins.png")},
            got);
        Run({"--periodogram", xyz, "--three-column", "--min-period", "0.5", "--max-period", "40",
             "--out", dir.file(tag + ".pg")},
            got);
        Run({"--render", xyz, "--three-column", "--phase", "7.25", "--phase-out",
             dir.file(tag + ".phase"), "--out", dir.file(tag + "-phase.png")},
            got);
        // The printed lines name the files written, which differ only by the tag.
        for (auto& [name, text] : got)
            for (size_t at; (at = text.find(dir.file(tag))) != std::string::npos;)
                text.replace(at, dir.file(tag).size(), "OUT");
        for (const char* kind : {".star", ".csv", ".dat", ".bins", ".pg", ".phase"})
            got[kind] = Undated(test::ReadFileBytes(dir.file(tag + kind)));
        return got;
    }

    // The file written again from what it loads as: the same bytes when nothing was lost.
    void ExpectLoadsBackEqual(const std::string& tag, const std::string& kind,
                              const std::vector<std::string>& how) {
        std::vector<std::string> args = {"--convert", dir.file(tag + kind), "--out",
                                         dir.file(tag + ".again" + kind)};
        args.insert(args.end(), how.begin(), how.end());
        std::map<std::string, std::string> ignored;
        Run(args, ignored);
        EXPECT_EQ(Undated(test::ReadFileBytes(dir.file(tag + ".again" + kind))),
                  Undated(test::ReadFileBytes(dir.file(tag + kind))))
            << kind;
    }

    test::TempProgramDir dir;
};

// A comma locale wrote JDs as "2454123,12346", which failed to load, and uncertainties as
// "0,0050", which the three-column reader took for two fields and dropped silently.
TEST_F(CommaLocaleFiles, EveryWriterWritesTheBytesOfTheCLocaleAndTheFilesLoadBack) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    const std::map<std::string, std::string> plain = WriteAll("c");
    std::setlocale(LC_ALL, saved.c_str());

    test::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no comma locale: localedef is not available";
    const std::map<std::string, std::string> commaFiles = WriteAll("comma");
    for (const auto& [name, bytes] : plain) EXPECT_EQ(commaFiles.at(name), bytes) << name;
    EXPECT_NE(plain.at(".dat").find(" 0.005"), std::string::npos);

    ExpectLoadsBackEqual("comma", ".star", {});
    ExpectLoadsBackEqual("comma", ".csv", {"--to", "download"});
    ExpectLoadsBackEqual("comma", ".dat", {"--three-column"});
}

}  // namespace
}  // namespace sabrix
