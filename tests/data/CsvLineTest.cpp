#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "data/CsvLine.h"

namespace sabrix {

namespace {
std::vector<std::string> Split(const std::string& line) {
    CsvLine splitter;
    const auto& fields = splitter.split(line);
    return {fields.begin(), fields.end()};
}
using Fields = std::vector<std::string>;
}  // namespace

TEST(CsvLine, SplitsAtEveryCommaWithoutQuotes) {
    EXPECT_EQ(Split("a,b,c"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(Split(" a , b "), (Fields{" a ", " b "}));
    EXPECT_EQ(Split("a,,b,"), (Fields{"a", "", "b", ""}));
    EXPECT_EQ(Split(",,"), (Fields{"", "", ""}));
    EXPECT_EQ(Split(""), (Fields{""}));
    EXPECT_EQ(Split("one"), (Fields{"one"}));
}

TEST(CsvLine, KeepsCommasInsideQuotesAndUnescapesDoubledQuotes) {
    EXPECT_EQ(Split("a,\"b, c\",d"), (Fields{"a", "b, c", "d"}));
    EXPECT_EQ(Split("\"x\"\"y\",z"), (Fields{"x\"y", "z"}));
    // A comment of a download that itself held quotes and commas.
    EXPECT_EQ(Split("1,\"\"\"text, with commas\"\"\",2"),
              (Fields{"1", "\"text, with commas\"", "2"}));
    EXPECT_EQ(Split("\"\",\"\""), (Fields{"", ""}));
    EXPECT_EQ(Split("a,\"b,c\""), (Fields{"a", "b,c"}));
    EXPECT_EQ(Split("\"a\","), (Fields{"a", ""}));
}

TEST(CsvLine, ToleratesMalformedQuotes) {
    // Open to the end of the line.
    EXPECT_EQ(Split("a,\"b,c"), (Fields{"a", "b,c"}));
    EXPECT_EQ(Split("\""), (Fields{""}));
    // Text after the closing quote stays in the field; a quote inside a bare field is text.
    EXPECT_EQ(Split("\"ab\"cd,e"), (Fields{"abcd", "e"}));
    EXPECT_EQ(Split("ab\"cd,e"), (Fields{"ab\"cd", "e"}));
}

TEST(CsvLine, FieldsOfEarlierQuotedFieldsStayIntactWithinOneLine) {
    // Many quoted fields fill the scratch space; none may be overwritten by a later one.
    std::string line;
    Fields want;
    for (int i = 0; i < 200; ++i) {
        const std::string value = "v" + std::to_string(i) + ",\"q\"";
        line += (i ? "," : "") + std::string("\"v") + std::to_string(i) + ",\"\"q\"\"\"";
        want.push_back(value);
    }
    EXPECT_EQ(Split(line), want);
}

TEST(CsvLine, ReusedSplitterGivesEachLineItsOwnFields) {
    CsvLine splitter;
    splitter.split("\"a,b\",c,d");
    const auto& second = splitter.split("x");
    EXPECT_EQ(Fields(second.begin(), second.end()), (Fields{"x"}));
    const auto& third = splitter.split("\"p\",q");
    EXPECT_EQ(Fields(third.begin(), third.end()), (Fields{"p", "q"}));
}

TEST(CsvLine, TrimBlanksRemovesSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(CsvLine, SplitsAMillionDownloadLinesWellUnderASecond) {
    const std::string plain =
        "2457845.47505,10.428,0.006,,V,HMB,,UCAC4 446-009849,UCAC4 445-009705,,STANDARD MAG: "
        "C = 11.674  K = 11.712,0,1.27,Z,18.015,18.063,,PDS 110,VVS,STD,,,,";
    const std::string quoted =
        "2457845.47505,10.428,0.006,,V,HMB,,A,B,,\"\"\"text, with commas\"\"\",0,1.27,Z,18.015,"
        "18.063,,PDS 110,VVS,STD,,,,";
    CsvLine splitter;
    size_t total = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000000; ++i) total += splitter.split(i % 10 ? plain : quoted).size();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(total, 24u * 1000000u);
    EXPECT_LT(std::chrono::duration<double>(elapsed).count(), 0.5);
}
#endif

}  // namespace sabrix
