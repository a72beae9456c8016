#include <gtest/gtest.h>

#include "data/TextFields.h"

namespace sabrix {

TEST(LeftJustify, PadsOnTheRightOrKeepsTheFirstBytes) {
    EXPECT_EQ(LeftJustify("ABC", 6), "ABC   ");
    EXPECT_EQ(LeftJustify("RCARINAEXTRA", 10), "RCARINAEXT");
    EXPECT_EQ(LeftJustify("", 2), "  ");
    EXPECT_EQ(LeftJustify("AB", 0), "");
    EXPECT_EQ(LeftJustify("AB", -3), "");
}

TEST(RightJustify, PadsOnTheLeftOrKeepsTheFirstBytes) {
    EXPECT_EQ(RightJustify("9.1", 10), "       9.1");
    EXPECT_EQ(RightJustify("123.4 ", 5), "123.4");
    EXPECT_EQ(RightJustify("1234.5", 4), "1234");
    EXPECT_EQ(RightJustify("abc", 3), "abc");
}

TEST(CountDecimals, CountsBytesAfterTheFirstPoint) {
    EXPECT_EQ(CountDecimals(" 9.1  "), 3);
    EXPECT_EQ(CountDecimals("123.4 "), 2);
    EXPECT_EQ(CountDecimals("1.2.3"), 3);
    EXPECT_EQ(CountDecimals("12"), 0);
    EXPECT_EQ(CountDecimals(""), 0);
    EXPECT_EQ(CountDecimals("5."), 0);
}

TEST(FormatNum, AlignsThePointAndPadsToTheWidth) {
    EXPECT_EQ(FormatNum("9.1", 6), " 9.1  ");
    EXPECT_EQ(FormatNum("12.345", 6), "12.345");
    EXPECT_EQ(FormatNum("9.0", 6), " 9.0  ");
    EXPECT_EQ(FormatNum("123.4", 6), "123.4 ");
    EXPECT_EQ(FormatNum(" 9 . 5 ", 6), " 9.5  ");
    EXPECT_EQ(FormatNum("-9.999", 6), "-9.999");
    EXPECT_EQ(FormatNum("1.2.3", 6), " 1.2  ");
}

TEST(FormatNum, TooLongOrPointlessTextThrowsInsteadOfEndingTheProgram) {
    EXPECT_THROW(FormatNum("9.1234", 6), FormatNumError);  // " 9.1234": seven bytes
    EXPECT_THROW(FormatNum("12345.6", 6), FormatNumError);
    EXPECT_THROW(FormatNum("9", 6), FormatNumError);
    try {
        FormatNum("9.1234", 6);
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot format Number");
    }
}

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
    EXPECT_EQ(TrimBlanks("  R CAR  "), "R CAR");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("\tX"), "\tX");
}

}  // namespace sabrix
