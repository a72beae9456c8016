// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/NumberText.h"
#include "support/CommaLocale.h"

namespace sabrix {

TEST(NumberText, DoublesGiveTheShortestPlainTextOfAtMostFifteenDigits) {
    const std::pair<double, const char*> cases[] = {{2454123.5, "2454123.5"},
                                                    {9.0, "9"},
                                                    {-0.25, "-0.25"},
                                                    {1e-7, "0.0000001"},
                                                    {1e20, "100000000000000000000"},
                                                    {0.0, "0"},
                                                    {2457845.47505, "2457845.47505"},
                                                    {0.1 + 0.2, "0.3"},
                                                    {1.0 / 3.0, "0.333333333333333"},
                                                    {2454123.5 - 2454000.2, "123.299999999814"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatDouble(value), text);
    EXPECT_EQ(FormatSingle(9.1f), "9.1");
    EXPECT_EQ(FormatSingle(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(FormatSingle(-1.0f), "-1");
}

// The download writer kept 15 digits: 2457845.4750512345 came back as 2457845.47505123.
TEST(NumberText, ExactTextReadsBackToTheSameDoubleWithoutAnExponent) {
    const std::pair<double, const char*> cases[] = {{2454123.5, "2454123.5"},
                                                    {9.0, "9"},
                                                    {-0.25, "-0.25"},
                                                    {1e-7, "0.0000001"},
                                                    {0.1 + 0.2, "0.30000000000000004"},
                                                    {2457845.4750512345, "2457845.4750512345"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatDoubleExactly(value), text);
    for (const double value : {2457845.4750512345, 1.0 / 3.0, 1.7976931348623157e308, 4.9e-324,
                               -2.2250738585072014e-308, 1e22 + 1}) {
        const std::string text = FormatDoubleExactly(value);
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        double back = 0;
        ASSERT_TRUE(ParseNumber(text, back)) << text;
        EXPECT_EQ(back, value) << text;
    }
}

TEST(NumberText, FixedFormatsRoundHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
    EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);
    EXPECT_EQ(RoundHalfEven(1.35, 1), 1.4);  // 1.35 is stored just above the half
    EXPECT_EQ(FormatFixed(2454123.51234, 7, 4), "2454123.5123");
    EXPECT_EQ(FormatFixed(12.5, 7, 4), "0000012.5000");
    EXPECT_EQ(FormatFixed(0.012, 1, 4), "0.0120");
    EXPECT_EQ(FormatOneOrTwoDecimals(1.0), "1.0");
    EXPECT_EQ(FormatOneOrTwoDecimals(1.257), "1.26");
}

TEST(NumberText, ThePointStaysAPointUnderACommaLocale) {
    test::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no comma locale: localedef is not available";
    EXPECT_EQ(FormatFixed(2454123.51234, 7, 4), "2454123.5123");
    EXPECT_EQ(FormatOneOrTwoDecimals(1.257), "1.26");
    EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);
    double v = 0;
    EXPECT_TRUE(ParseNumber("0.005", v));
    EXPECT_EQ(v, 0.005);
    EXPECT_FALSE(ParseNumber("0,005", v));
}

TEST(NumberText, ParseNumberTakesOnlyWholeNumbers) {
    double v = 0;
    for (const auto& [text, value] : {std::pair{" 9.1 ", 9.1}, {"-1.5e2", -150.0}, {"+3", 3.0}}) {
        EXPECT_TRUE(ParseNumber(text, v)) << text;
        EXPECT_EQ(v, value);
    }
    for (const char* bad : {"8.3:", "<", "", "   ", "abc", "inf", "nan", "1,5", "--1", "++1"})
        EXPECT_FALSE(ParseNumber(bad, v)) << bad;
}

TEST(NumberText, OnlyTheTopOfTheRangeFailsToReadBackFromItsFifteenDigits) {
    for (const double fine : {0.0, 4.9e-324, 2454123.5, 1e308, 1.79769313486231e308})
        EXPECT_TRUE(FormatDoubleReadsBack(fine)) << fine;
    for (const double top : {1.7976931348623157e308, -1.7976931348623157e308})
        EXPECT_FALSE(FormatDoubleReadsBack(top)) << top;
}

}  // namespace sabrix
