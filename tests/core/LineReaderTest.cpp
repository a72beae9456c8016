// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/LineReader.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {
using Lines = std::vector<std::string>;
Lines LinesOf(const std::string& bytes) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("lines.txt");
    test::WriteFileBytes(path, bytes);
    LineReader reader;
    EXPECT_TRUE(reader.open(path));
    Lines lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    EXPECT_EQ(static_cast<long long>(lines.size()), CountFileLines(path));
    return lines;
}
}  // namespace

TEST(LineReader, EndsLinesAtCrLfAndCrLfAlsoAcrossReadBlocks) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd\n\re", {"a", "b", "c", "d", "", "e"}},
        {"\n", {""}},
        {"", {}}};
    for (const auto& [bytes, want] : cases) EXPECT_EQ(LinesOf(bytes), want);
    // A line that crosses the end of a read block, and a CR LF split between two blocks.
    Lines filler;
    std::string bytes;
    while (bytes.size() + 100 < (1 << 20) - 10) {
        filler.push_back(std::string(99, 'f'));
        bytes += filler.back() + "\n";
    }
    bytes.append((1 << 20) - 10 - bytes.size(), 'g');
    filler.push_back(bytes.substr(bytes.rfind('\n') + 1) + std::string(30, 'x'));
    filler.push_back("short");
    EXPECT_EQ(LinesOf(bytes + std::string(30, 'x') + "\r\nshort"), filler);
    bytes.resize((1 << 20) - 1);
    EXPECT_EQ(LinesOf(bytes + "\r\nz").size(), filler.size());
}

TEST(LineReader, LineLongerThan64KiBIsCutWithoutBeingKeptWhole) {
    const std::string longest(kLongestLine, 'a');
    // Within one read block, across several blocks, and as the last line without terminator.
    for (const size_t extra : {size_t{1}, size_t{5} << 20}) {
        SCOPED_TRACE(extra);
        const std::string longLine = longest + std::string(extra, 'b');
        test::TempProgramDir dir(false);
        const std::string path = dir.file("long.txt");
        test::WriteFileBytes(path, "x\r\n" + longest + "\r\n" + longLine + "\r\ny\n" + longLine);
        LineReader reader;
        ASSERT_TRUE(reader.open(path));
        std::vector<std::pair<std::string, bool>> got;
        std::string_view line;
        while (reader.next(line)) got.emplace_back(line, reader.lineCut());
        const std::vector<std::pair<std::string, bool>> want = {
            {"x", false}, {longest, false}, {longest, true}, {"y", false}, {longest, true}};
        EXPECT_EQ(got, want);
        EXPECT_EQ(CountFileLines(path), 5);
    }
}

TEST(LineReader, ReportsWhyAFileCannotBeOpened) {
    test::TempProgramDir dir(false);
    LineReader reader;
    EXPECT_FALSE(reader.open(dir.file("missing.txt")));
    EXPECT_FALSE(reader.error().empty());
    EXPECT_FALSE(reader.open(dir.path()));
    EXPECT_EQ(CountFileLines(dir.file("missing.txt")), -1);
}

TEST(LineReader, DevicesAndPipesAreRefusedWithoutReadingOrWaiting) {
    test::TempProgramDir dir(false);
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo}) {
        LineReader reader;
        EXPECT_FALSE(reader.open(path)) << path;
        EXPECT_EQ(reader.error(), "Not a regular file");
        EXPECT_EQ(CountFileLines(path), -1);
    }
}

}  // namespace sabrix
