#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LineReader.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {
std::vector<std::string> LinesOf(const std::string& bytes) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("lines.txt");
    test::WriteFileBytes(path, bytes);
    LineReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    EXPECT_EQ(static_cast<long long>(lines.size()), CountFileLines(path));
    return lines;
}
}  // namespace

TEST(LineReader, EndsLinesAtCrLfAndCrLf) {
    using V = std::vector<std::string>;
    EXPECT_EQ(LinesOf("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(LinesOf("a\nb\n"), (V{"a", "b"}));
    EXPECT_EQ(LinesOf("a\rb\r"), (V{"a", "b"}));
    EXPECT_EQ(LinesOf("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(LinesOf("a\r\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(LinesOf("\n"), (V{""}));
    EXPECT_EQ(LinesOf(""), V{});
}

TEST(LineReader, JoinsLinesAcrossBlocks) {
    // Lines longer than one read block, and a CR LF split between two blocks.
    std::string longLine(3 << 20, 'x');
    std::string bytes = longLine + "\r\n" + "short";
    auto lines = LinesOf(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], "short");
    std::string split(1 << 20, 'y');
    split.back() = '\r';
    lines = LinesOf(split + "\nz");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "z");
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
