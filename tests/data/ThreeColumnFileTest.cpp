#include <gtest/gtest.h>

#include <QBuffer>
#include <vector>

#include "data/ThreeColumnFile.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {
ThreeColumnRecord Parse(const std::string& line) {
    auto r = ParseThreeColumnLine(line);
    EXPECT_TRUE(r) << line;
    return r.value_or(ThreeColumnRecord{});
}
std::string FailureOf(const std::string& content, ObsTable& table, const std::string& path) {
    test::WriteFileBytes(path, content);
    try {
        XYZLoadRows(path, table, "X", 1, {});
    } catch (const SabrixError& e) {
        return e.what();
    }
    return "no failure";
}
}  // namespace

TEST(CollapseBlanks, TrimsAndShrinksRunsOfBlanks) {
    EXPECT_EQ(CollapseBlanks("  2454123.5    9.1 "), "2454123.5 9.1");
    EXPECT_EQ(CollapseBlanks("     "), "");
    EXPECT_EQ(CollapseBlanks("a"), "a");
}

TEST(ParseThreeColumnLine, TabsCommasAndBlanksAllSeparate) {
    const auto comma = Parse("2454123.5,9.1,0.01");
    const auto blank = Parse("2454123.5 9.1 0.01");
    const auto mixed = Parse(" 2454123.5\t, 9.1,,0.01 ");
    for (const auto& r : {comma, blank, mixed}) {
        EXPECT_EQ(r.JD, 2454123.5);
        EXPECT_EQ(r.Mag, 9.1);
        EXPECT_EQ(r.Uncertain, "0.01");
        EXPECT_EQ(r.Error, 0.01);
        EXPECT_EQ(r.Faint, "");
    }
}

TEST(ParseThreeColumnLine, FainterThanMarkAnywhereAndFieldCounts) {
    const auto faint = Parse("2454123.5\t<12.5");
    EXPECT_EQ(faint.Faint, "<");
    EXPECT_EQ(faint.Mag, 12.5);
    EXPECT_EQ(faint.Uncertain, "");
    EXPECT_EQ(Parse("2454123.5 12.5 <").Faint, "<");  // "<" alone is no field
    const auto four = Parse("2454123.5 9.1 0.01 X");
    EXPECT_EQ(four.Uncertain, "");
    EXPECT_EQ(four.Error, 0);
    const auto text = Parse("2454123.5 9.1 bright");
    EXPECT_EQ(text.Uncertain, "bright");
    EXPECT_EQ(text.Error, 0);
    EXPECT_FALSE(ParseThreeColumnLine(" \t, "));
    EXPECT_THROW(ParseThreeColumnLine("2454123.5"), SabrixError);
    EXPECT_THROW(ParseThreeColumnLine("JD MAG ERR"), SabrixError);
    EXPECT_THROW(ParseThreeColumnLine("2454123.5 9.1:"), SabrixError);
}

TEST(XYZLoadRows, SampleSurveyFileLoadsEveryLine) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    int32_t counted = 0;
    int64_t lines = 0;
    XYZLoadCallbacks callbacks{[&](int32_t n) { counted = n; }, [&](int64_t) { ++lines; }};
    EXPECT_EQ(
        XYZLoadRows(test::SampleFile("three-column.dat"), table, "three-column", 65535, callbacks),
        383);
    EXPECT_EQ(counted, 383);
    EXPECT_EQ(lines, 383);
    const ObsRow first = *table.RowById(1);
    EXPECT_EQ(first.JD, 2165.84172);
    EXPECT_EQ(first.Mag, 14.253);
    EXPECT_EQ(first.Uncertain, "0.005");
    EXPECT_EQ(first.Error, 0.005);
    EXPECT_EQ(first.Star, "three-column");
    EXPECT_EQ(first.PunktFarb, 65535);
}

TEST(XYZLoadRows, BadLineLeavesTheTableEmptyAndNamesTheLine) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    const std::string path = dir.file("bad.txt");
    EXPECT_EQ(FailureOf("1 9\r\n\r\n2 9\r\n", table, path), "Line 2 is empty.");
    EXPECT_EQ(FailureOf("1 9\n2\n", table, path).substr(0, 8), "Line 2: ");
    EXPECT_EQ(FailureOf("1 9\rx 9\r", table, path), "Line 2: JD \"x\" is not a number.");
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(FailureOf("", table, dir.file("empty.txt")), "no failure");
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(FailureOf("1 9\r\n2 9.5\r\n\r\n\r\n", table, path), "no failure");
    EXPECT_EQ(table.Count(), 2);  // empty lines at the end are no records
}

TEST(XYZLoadRows, MissingFileIsItsOwnFailure) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    try {
        XYZLoadRows(dir.file("gone.txt"), table, "gone", 1, {});
        FAIL() << "no exception";
    } catch (const ThreeColumnFileNotFound& e) {
        EXPECT_EQ(std::string(e.what()), "File " + dir.file("gone.txt") + " not found.");
    }
}

TEST(ThreeColumnStarName, FileNameCutBeforeItsFirstPoint) {
    EXPECT_EQ(ThreeColumnStarName("/data/rcar.v.txt"), "rcar");
    EXPECT_EQ(ThreeColumnStarName("RCar.dat"), "RCar");
    EXPECT_EQ(ThreeColumnStarName("/data.d/rcar"), std::nullopt);
}

TEST(ThreeColumnLine, ColumnsOfJdMagnitudeAndError) {
    ObsRow r;
    r.JD = 2454123.5;
    r.Mag = 9.1;
    r.Error = 0.012;
    EXPECT_EQ(ThreeColumnLine(r), "2454123.5          9.1  0.0120  ");
    r.Error = 0;
    EXPECT_EQ(ThreeColumnLine(r), "2454123.5          9.1  ");
    r.Faint = "<";
    EXPECT_EQ(ThreeColumnLine(r), "2454123.5         <9.1  ");
    r.Faint = "";
    r.JD = 2454123.123456;  // thirteen characters or more: written whole
    EXPECT_EQ(ThreeColumnLine(r), "2454123.123456       9.1  ");
    r.JD = 2454123.1234;
    r.Mag = 12.123456789;  // a full column is not cut and stays apart from the JD
    EXPECT_EQ(ThreeColumnLine(r), "2454123.1234 12.123456789  ");
}

TEST(WriteThreeColumnFile, WritesFainterThanBeforeTheMagnitudeAndDropsZeroErrors) {
    test::TempProgramDir dir;
    const std::string path = dir.file("rcar.txt");
    test::WriteFileBytes(path, "2454123.5 9.1 0.012\n2454124.25\t<12.5\n2454125,10,0.0005,X\n");
    ObsTable table(dir.file("Template97.db"));
    XYZLoadRows(path, table, "rcar", 1, {});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteThreeColumnFile(buffer, table);
    EXPECT_EQ(buffer.data().toStdString(),
              "2454123.5          9.1  0.0120  \r\n2454124.25       <12.5  \r\n"
              "2454125             10  \r\n");
}

TEST(WriteThreeColumnFile, SampleFileRoundTripsAndEmptyTableFails) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteThreeColumnFile(empty, table), SabrixError);
    EXPECT_EQ(empty.size(), 0);
    XYZLoadRows(test::SampleFile("three-column.dat"), table, "s", 1, {});
    test::WriteFileBytes(dir.file("out.txt"), ThreeColumnFileText(table));
    test::TempProgramDir other;
    ObsTable again(other.file("Template97.db"));
    EXPECT_EQ(XYZLoadRows(dir.file("out.txt"), again, "s", 1, {}), 383);
    EXPECT_EQ(ThreeColumnFileText(again), ThreeColumnFileText(table));
}

}  // namespace sabrix
