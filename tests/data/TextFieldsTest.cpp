// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "data/TextFields.h"

namespace sabrix {

TEST(TextFields, JustifyPadsOrKeepsTheFirstBytes) {
    EXPECT_EQ(LeftJustify("ABC", 6), "ABC   ");
    EXPECT_EQ(LeftJustify("RCARINAEXTRA", 10), "RCARINAEXT");
    EXPECT_EQ(LeftJustify("AB", 0), "");
    EXPECT_EQ(LeftJustify("AB", -3), "");
    EXPECT_EQ(RightJustify("9.1", 10), "       9.1");
    EXPECT_EQ(RightJustify("123.4 ", 5), "123.4");
    EXPECT_EQ(RightJustify("1234.5", 4), "1234");
    EXPECT_EQ(TrimBlanks("  R CAR  "), "R CAR");
    EXPECT_EQ(TrimBlanks("\tX"), "\tX");
}

TEST(TextFields, JustifyNeverSplitsACharacterOfUtf8Text) {
    // "ü" is two bytes in UTF-8: a cut between them would leave a broken file behind.
    EXPECT_EQ(LeftJustify("Abcde\xC3\xBC", 6), "Abcde ");
    EXPECT_EQ(RightJustify("Abcde\xC3\xBC", 6), " Abcde");
    EXPECT_EQ(LeftJustify("Abcd\xC3\xBCx", 6), "Abcd\xC3\xBC");
    EXPECT_EQ(LeftJustify("\xE2\x82\xAC\xE2\x82\xAC", 4), "\xE2\x82\xAC ");
    // Latin-1 text has no multi-byte characters: it is cut at the width.
    EXPECT_EQ(LeftJustify("Abcde\xFC\xBC", 6), "Abcde\xFC");
}

TEST(TextFields, CountDecimalsCountsBytesAfterTheFirstPoint) {
    const std::pair<const char*, int> cases[] = {{" 9.1  ", 3}, {"123.4 ", 2}, {"1.2.3", 3},
                                                 {"12", 0},     {"", 0},       {"5.", 0}};
    for (const auto& [text, want] : cases) EXPECT_EQ(CountDecimals(text), want) << text;
}

TEST(TextFields, FormatNumAlignsThePointOrThrowsInsteadOfEndingTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"9.1", " 9.1  "},     {"12.345", "12.345"}, {"9.0", " 9.0  "},  {"123.4", "123.4 "},
        {" 9 . 5 ", " 9.5  "}, {"-9.999", "-9.999"}, {"1.2.3", " 1.2  "}};
    for (const auto& [text, want] : cases) EXPECT_EQ(FormatNum(text, 6), want) << text;
    EXPECT_THROW(FormatNum("12345.6", 6), FormatNumError);
    EXPECT_THROW(FormatNum("9", 6), FormatNumError);
    try {
        FormatNum("9.1234", 6);  // " 9.1234": seven bytes
        FAIL() << "no exception";
    } catch (const FormatNumError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot format Number");
    }
}

}  // namespace sabrix
