#include <gtest/gtest.h>

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


}  // namespace sabrix
