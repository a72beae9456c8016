// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <vector>

#include "data/ThreeColumnFile.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {
// What loading content gives: "no failure" or the failure's description.
std::string FailureOf(const std::string& content, test::TempTable& t) {
    test::WriteFileBytes(t.dir.file("in.txt"), content);
    try {
        XYZLoadRows(t.dir.file("in.txt"), t.table, "X", 1, {});
    } catch (const SabrixError& e) {
        return e.what();
    }
    return "no failure";
}
}  // namespace

TEST(ParseThreeColumnLine, BlanksTabsAndCommasSeparateAndFainterThanMayStandAnywhere) {
    EXPECT_EQ(CollapseBlanks("  2454123.5    9.1 "), "2454123.5 9.1");
    EXPECT_EQ(CollapseBlanks("     "), "");
    using R = std::tuple<double, double, std::string, std::string, double>;
    const std::pair<const char*, R> cases[] = {
        {"2454123.5,9.1,0.01", {2454123.5, 9.1, "", "0.01", 0.01}},
        {"2454123.5 9.1 0.01", {2454123.5, 9.1, "", "0.01", 0.01}},
        {" 2454123.5\t, 9.1,,0.01 ", {2454123.5, 9.1, "", "0.01", 0.01}},
        {"2454123.5\t<12.5", {2454123.5, 12.5, "<", "", 0}},
        {"2454123.5 12.5 <", {2454123.5, 12.5, "<", "", 0}},  // "<" alone is no field
        {"2454123.5 9.1 0.01 X", {2454123.5, 9.1, "", "", 0}},
        {"2454123.5 9.1 bright", {2454123.5, 9.1, "", "bright", 0}}};
    for (const auto& [line, want] : cases) {
        const auto r = ParseThreeColumnLine(line);
        ASSERT_TRUE(r) << line;
        EXPECT_EQ(R(r->JD, r->Mag, r->Faint, r->Uncertain, r->Error), want) << line;
    }
    EXPECT_FALSE(ParseThreeColumnLine(" \t, "));
    for (const char* bad : {"2454123.5", "JD MAG ERR", "2454123.5 9.1:"})
        EXPECT_THROW(ParseThreeColumnLine(bad), SabrixError) << bad;
}

TEST(XYZLoadRows, SampleSurveyFileLoadsEveryLine) {
    test::TempTable t;
    int32_t counted = 0;
    int64_t lines = 0;
    XYZLoadCallbacks callbacks{[&](int32_t n) { counted = n; }, [&](int64_t) { ++lines; }, {}};
    EXPECT_EQ(XYZLoadRows(test::SampleFile("three-column.dat"), t.table, "three-column", 65535,
                          callbacks),
              383);
    EXPECT_EQ(counted, 383);
    EXPECT_EQ(lines, 383);
    const ObsRow first = *t.table.RowById(1);
    EXPECT_EQ(
        std::tie(first.JD, first.Mag, first.Uncertain, first.Error, first.Star, first.PunktFarb),
        std::make_tuple(2165.84172, 14.253, std::string("0.005"), 0.005,
                        std::string("three-column"), 65535));
}

TEST(XYZLoadRows, BadLineLeavesTheTableEmptyAndNamesTheLine) {
    test::TempTable t;
    EXPECT_EQ(FailureOf("1 9\r\n\r\n2 9\r\n", t), "Line 2 is empty.");
    EXPECT_EQ(FailureOf("1 9\n2\n", t).substr(0, 8), "Line 2: ");
    EXPECT_EQ(FailureOf("1 9\rx 9\r", t), "Line 2: JD \"x\" is not a number.");
    // A NUL byte cut the message short; control bytes are never quoted raw.
    EXPECT_EQ(FailureOf(std::string("1 9\n24\0\x1b[1m5 9\n", 15), t),
              "Line 2: JD \"24??[1m5\" is not a number.");
    EXPECT_EQ(t.table.Count(), 0);
    EXPECT_EQ(FailureOf("", t), "no failure");
    EXPECT_EQ(t.table.Count(), 0);
    EXPECT_EQ(FailureOf("1 9\r\n2 9.5\r\n\r\n\r\n", t), "no failure");
    EXPECT_EQ(t.table.Count(), 2);  // empty lines at the end are no records
    try {
        XYZLoadRows(t.dir.file("gone.txt"), t.table, "gone", 1, {});
        FAIL() << "no exception";
    } catch (const ThreeColumnFileNotFoundError& e) {
        EXPECT_EQ(std::string(e.what()), "File " + t.dir.file("gone.txt") + " not found.");
    }
}

TEST(XYZLoadRows, LongLineOrNoRegularFileIsRefused) {
    test::TempTable t;
    EXPECT_EQ(FailureOf("1 9\n2 " + std::string(70000, '9') + "\n", t),
              "Line 2 is longer than 65536 bytes.");
    EXPECT_EQ(t.table.Count(), 0);
    try {
        XYZLoadRows("/dev/zero", t.table, "zero", 1, {});
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), "File /dev/zero cannot be read: Not a regular file.");
    }
}

TEST(XYZLoadRows, NumberWhoseSavedTextWouldNotLoadAgainIsRefused) {
    test::TempTable t;
    EXPECT_EQ(FailureOf("2454123.5 9.1\n2454124.5 1.7976931348623157e308\n", t),
              "Line 2: Magnitude \"1.7976931348623157e308\" is too large to be saved again.");
    EXPECT_EQ(FailureOf("1.7976931348623157e308 9\n", t).substr(0, 11), "Line 1: JD ");
    EXPECT_EQ(t.table.Count(), 0);
    // A magnitude the plot could not hold is refused where it is read, not by the plot.
    EXPECT_EQ(FailureOf("2454123.5 9.1\n2454124.5 -1e308\n", t),
              "Line 2: Magnitude \"-1e308\" is beyond any magnitude.");
    // Just below the top of the range the saved text loads again.
    EXPECT_EQ(FailureOf("1.79769313486231e308 9.1\n", t), "no failure");
    test::TempTable again;
    test::WriteFileBytes(t.dir.file("out.txt"), ThreeColumnFileText(t.table));
    EXPECT_EQ(XYZLoadRows(t.dir.file("out.txt"), again.table, "X", 1, {}), 1);
    EXPECT_EQ(ThreeColumnFileText(again.table), ThreeColumnFileText(t.table));
}

TEST(ThreeColumnStarName, FileNameCutBeforeItsFirstPoint) {
    EXPECT_EQ(ThreeColumnStarName("/data/rcar.v.txt"), "rcar");
    EXPECT_EQ(ThreeColumnStarName("RCar.dat"), "RCar");
    EXPECT_EQ(ThreeColumnStarName("/data.d/rcar"), std::nullopt);
}

TEST(ThreeColumnLine, ColumnsOfJdMagnitudeAndError) {
    const std::tuple<double, double, double, const char*, std::string> cases[] = {
        {2454123.5, 9.1, 0.012, "", "2454123.5          9.1  0.0120  "},
        {2454123.5, 9.1, 0, "", "2454123.5          9.1  "},
        {2454123.5, 9.1, 0, "<", "2454123.5         <9.1  "},
        // Thirteen characters or more: written whole; a full column stays apart from the JD.
        {2454123.123456, 9.1, 0, "", "2454123.123456       9.1  "},
        {2454123.1234, 12.123456789, 0, "", "2454123.1234 12.123456789  "},
        // The boundary: a magnitude column of exactly ten characters after a twelve-character
        // JD still gets its blank; nine characters fill the column with one blank to spare.
        {2454123.1234, 12.3456789, 0, "", "2454123.1234 12.3456789  "},
        {2454123.1234, 12.345678, 0, "<", "2454123.1234 <12.345678  "},
        {2454123.1234, 12.345678, 0, "", "2454123.1234 12.345678  "}};
    for (const auto& [jd, mag, error, faint, line] : cases) {
        ObsRow r;
        r.JD = jd;
        r.Mag = mag;
        r.Error = error;
        r.Faint = faint;
        EXPECT_EQ(ThreeColumnLine(r), line);
    }
}

TEST(WriteThreeColumnFile, WritesFainterThanBeforeTheMagnitudeAndDropsZeroErrors) {
    test::TempTable t;
    test::WriteFileBytes(t.dir.file("rcar.txt"),
                         "2454123.5 9.1 0.012\n2454124.25\t<12.5\n2454125,10,0.0005,X\n");
    XYZLoadRows(t.dir.file("rcar.txt"), t.table, "rcar", 1, {});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteThreeColumnFile(buffer, t.table);
    EXPECT_EQ(buffer.data().toStdString(),
              "2454123.5          9.1  0.0120  \r\n2454124.25       <12.5  \r\n"
              "2454125             10  \r\n");
}

TEST(WriteThreeColumnFile, SampleFileRoundTripsAndEmptyTableFails) {
    test::TempTable t, again;
    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteThreeColumnFile(empty, t.table), SabrixError);
    EXPECT_EQ(empty.size(), 0);
    XYZLoadRows(test::SampleFile("three-column.dat"), t.table, "s", 1, {});
    test::WriteFileBytes(t.dir.file("out.txt"), ThreeColumnFileText(t.table));
    EXPECT_EQ(XYZLoadRows(t.dir.file("out.txt"), again.table, "s", 1, {}), 383);
    EXPECT_EQ(ThreeColumnFileText(again.table), ThreeColumnFileText(t.table));
}

}  // namespace sabrix
