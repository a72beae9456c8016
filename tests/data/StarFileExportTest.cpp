#include <gtest/gtest.h>

#include <QBuffer>

#include "data/StarFileExport.h"
#include "data/TextFields.h"
#include "support/FailingDevice.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {
ObsRow Obs(double mag, const std::string& comments = "ABC", const std::string& init = "XYZ") {
    ObsRow r;
    r.Star = "RCAR";
    r.JD = 2454123.5;
    r.Mag = mag;
    r.Uncertain = "U";
    r.Comments = comments;
    r.Init = init;
    return r;
}
const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 5, 3));
}  // namespace

TEST(StarFileRecordLine, OneOrTwoDigitMagnitudesFillFiftyNineColumns) {
    // Desig, blank, Star, seven blanks, JD, Faint, magnitude, Comments, two blanks, Init.
    EXPECT_EQ(StarFileRecordLine(Obs(9.1)),
              "        "
              " "
              "RCAR      "
              "       "
              "2454123.5    "
              " "
              " 9.1  "
              "ABC   "
              "  "
              "XYZ  ");
    EXPECT_EQ(StarFileRecordLine(Obs(9.1)).substr(39), "  9.1  ABC     XYZ  ");
    EXPECT_EQ(StarFileRecordLine(Obs(12.345)).substr(40, 6), "12.345");
    EXPECT_EQ(StarFileRecordLine(Obs(9)).substr(40, 6), " 9.0  ");
    EXPECT_EQ(StarFileRecordLine(Obs(11)).substr(40, 6), "11.0  ");
    EXPECT_EQ(StarFileRecordLine(Obs(-0.5)).substr(40, 6), "-0.5  ");
    for (double mag : {9.1, 12.345, 9.0, -9.999, 99.999})
        EXPECT_EQ(StarFileRecordLine(Obs(mag)).size(), 59u) << mag;
}

TEST(StarFileRecordLine, ThreeDigitMagnitudeWritesUncertainAndSixtyColumns) {
    const std::string line = StarFileRecordLine(Obs(123.4, "COMMENT1"));
    EXPECT_EQ(line.size(), 60u);
    EXPECT_EQ(line.substr(40),
              "123.4"
              "U"
              "COMMENT"
              "  "
              "XYZ  ");
    // A four-digit integer part keeps only the first four columns of the field.
    EXPECT_EQ(StarFileRecordLine(Obs(1234.5)).substr(40),
              "1234"
              "U"
              "ABC    "
              "  "
              "XYZ  ");
}

TEST(StarFileRecordLine, CutsLongFieldsAndMarksFainterThan) {
    ObsRow r = Obs(9.1);
    r.Desig = "DESIGNATION";
    r.Star = "RCARINAELONG";
    r.JD = 2454123.123456;
    r.Faint = "<";
    r.Init = "ABCDEFG";
    const std::string line = StarFileRecordLine(r);
    EXPECT_EQ(line.substr(0, 8), "DESIGNAT");
    EXPECT_EQ(line.substr(9, 10), "RCARINAELO");
    EXPECT_EQ(line.substr(26, 13), "2454123.12345");
    EXPECT_EQ(line.substr(39, 7), "< 9.1  ");
    EXPECT_EQ(line.substr(54), "ABCDE");
}

TEST(StarFileRecordLine, MagnitudeThatDoesNotFitThrows) {
    EXPECT_THROW(StarFileRecordLine(Obs(9.1234)), FormatNumError);
    EXPECT_THROW(StarFileRecordLine(Obs(12345.6)), FormatNumError);
}

TEST(StarFileHeaderLine, NamesTrimmedStarAndZeroPaddedTime) {
    EXPECT_EQ(StarFileHeaderLine("  R CAR ", kNow),
              "Edited data for R CAR. File created on 03-07-2024 at 09:05:03");
    EXPECT_EQ(StarFileHeaderLine("X", QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))),
              "Edited data for X. File created on 12-31-1999 at 23:59:59");
}

TEST(WriteStarFile, WritesHeaderEmptyLineAndRowsInIdOrder) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    ObsTable::BulkInserter inserter(table);
    inserter.add(Obs(9.1));
    inserter.add(Obs(12.345, "", "AB"));
    inserter.commit();
    int yields = 0;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteStarFile(buffer, table, "RCAR", kNow, [&] { ++yields; });
    EXPECT_EQ(buffer.data().toStdString(),
              "Edited data for RCAR. File created on 03-07-2024 at 09:05:03\r\n\r\n" +
                  StarFileRecordLine(Obs(9.1)) + "\r\n" +
                  StarFileRecordLine(Obs(12.345, "", "AB")) + "\r\n");
    EXPECT_EQ(yields, 2);

    test::FailingDevice device(30);
    EXPECT_THROW(WriteStarFile(device, table, "RCAR", kNow, {}), SabrixError);
}

TEST(WriteStarFile, EmptyTableOrBadMagnitudeWritesNothing) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    test::FailingDevice device(1000);
    try {
        WriteStarFile(device, table, "RCAR", kNow, {});
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), "No current record.");
    }
    ObsTable::BulkInserter inserter(table);
    inserter.add(Obs(9.1));
    inserter.add(Obs(9.1234));
    inserter.commit();
    EXPECT_THROW(WriteStarFile(device, table, "RCAR", kNow, {}), FormatNumError);
    EXPECT_EQ(device.written(), "");
}

}  // namespace sabrix
