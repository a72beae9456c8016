// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CsvLine.h"

namespace sabrix {

namespace {
using Fields = std::vector<std::string>;
Fields Split(CsvLine& splitter, const std::string& line) {
    const auto& fields = splitter.split(line);
    return {fields.begin(), fields.end()};
}
}  // namespace

TEST(CsvLine, SplitsAtCommasOutsideQuotesAndToleratesMalformedQuotes) {
    const std::pair<std::string, Fields> cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {" a , b ", {" a ", " b "}},
        {"a,,b,", {"a", "", "b", ""}},
        {"", {""}},
        {"a,\"b, c\",d", {"a", "b, c", "d"}},
        {"\"x\"\"y\",z", {"x\"y", "z"}},
        // A comment of a download that itself held quotes and commas.
        {"1,\"\"\"text, with commas\"\"\",2", {"1", "\"text, with commas\"", "2"}},
        {"\"\",\"\"", {"", ""}},
        {"\"a\",", {"a", ""}},
        {"a,\"b,c", {"a", "b,c"}},  // open to the end of the line
        {"\"", {""}},
        // Text after the closing quote stays in the field; a quote inside a bare field is text.
        {"\"ab\"cd,e", {"abcd", "e"}},
        {"ab\"cd,e", {"ab\"cd", "e"}}};
    // One splitter for all lines: each line gets its own fields.
    CsvLine splitter;
    for (const auto& [line, want] : cases) EXPECT_EQ(Split(splitter, line), want) << line;
}

TEST(CsvLine, FieldsWrittenByCsvRulesSplitBackUnchanged) {
    const std::pair<Fields, std::string> cases[] = {
        {{"a", "b c", ""}, "a,b c,"},
        {{"x,y"}, "\"x,y\""},
        {{"5\"", "\""}, "\"5\"\"\",\"\"\"\""},
        {{"\"quoted\" text, too", " blank "}, "\"\"\"quoted\"\" text, too\", blank "},
        {{"", "\"\"", ","}, ",\"\"\"\"\"\",\",\""},
        // A line break is quoted as well; a line reader would end the line at it.
        {{"a\r\nb"}, "\"a\r\nb\""}};
    CsvLine splitter;
    for (const auto& [fields, want] : cases) {
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) line += ',';
            AppendCsvField(line, fields[i]);
        }
        EXPECT_EQ(line, want);
        EXPECT_EQ(Split(splitter, line), fields) << line;
    }
}

TEST(CsvLine, FieldsOfEarlierQuotedFieldsStayIntactWithinOneLine) {
    // Many quoted fields fill the scratch space; none may be overwritten by a later one.
    std::string line;
    Fields want;
    for (int i = 0; i < 200; ++i) {
        line += (i ? ",\"v" : "\"v") + std::to_string(i) + ",\"\"q\"\"\"";
        want.push_back("v" + std::to_string(i) + ",\"q\"");
    }
    CsvLine splitter;
    EXPECT_EQ(Split(splitter, line), want);
}

TEST(CsvLine, TrimBlanksRemovesSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace sabrix
