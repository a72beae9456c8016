#include <gtest/gtest.h>

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
    const std::pair<std::string, Lines> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                   {"a\nb\n", {"a", "b"}},
                                                   {"a\rb\r", {"a", "b"}},
                                                   {"a\nb", {"a", "b"}},
                                                   {"a\r\n\r\nb", {"a", "", "b"}},
                                                   {"\n", {""}},
                                                   {"", {}}};
    for (const auto& [bytes, want] : cases) EXPECT_EQ(LinesOf(bytes), want);
    // A line longer than one read block, and a CR LF split between two blocks.
    const std::string longLine(3 << 20, 'x');
    EXPECT_EQ(LinesOf(longLine + "\r\nshort"), (Lines{longLine, "short"}));
    std::string split(1 << 20, 'y');
    split.back() = '\r';
    EXPECT_EQ(LinesOf(split + "\nz").size(), 2u);
}

TEST(LineReader, ReportsWhyAFileCannotBeOpened) {
    test::TempProgramDir dir(false);
    LineReader reader;
    EXPECT_FALSE(reader.open(dir.file("missing.txt")));
    EXPECT_FALSE(reader.error().empty());
    EXPECT_FALSE(reader.open(dir.path()));
    EXPECT_EQ(CountFileLines(dir.file("missing.txt")), -1);
}

}  // namespace sabrix
