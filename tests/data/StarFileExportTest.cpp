// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <cmath>
#include <string>
#include <vector>

#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"
#include "support/FailingDevice.h"
#include "support/TempTable.h"

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

TEST(StarFileRecordLine, LaysOutEveryFieldInItsColumns) {
    // Desig (8), blank, Star (10), seven blanks, JD (13), Faint (1): forty columns.
    const std::string head = "         RCAR             2454123.5     ";
    // Magnitude (6, or its first five and Uncertain for three or more digits before the
    // point), Comments (6), two blanks, Init (5).
    const std::tuple<double, const char*, const char*> cases[] = {
        {9.1, "ABC", " 9.1  ABC     XYZ  "},         {12.345, "ABC", "12.345ABC     XYZ  "},
        {9, "ABC", " 9.0  ABC     XYZ  "},           {11, "ABC", "11.0  ABC     XYZ  "},
        {-0.5, "ABC", "-0.5  ABC     XYZ  "},        {-9.999, "", "-9.999        XYZ  "},
        {123.4, "COMMENT1", "123.4UCOMMENT  XYZ  "}, {1234.5, "ABC", "1234UABC      XYZ  "}};
    for (const auto& [mag, comments, tail] : cases)
        EXPECT_EQ(StarFileRecordLine(Obs(mag, comments)), head + tail) << mag;
    ObsRow r = Obs(9.1);
    r.Desig = "DESIGNATION";
    r.Star = "RCARINAELONG";
    r.JD = 2454123.123456;
    r.Faint = "<";
    r.Init = "ABCDEFG";
    EXPECT_EQ(StarFileRecordLine(r), "DESIGNAT RCARINAELO       2454123.12346< 9.1  ABC     ABCDE");
    EXPECT_THROW(StarFileRecordLine(Obs(9.1234)), FormatNumError);
    EXPECT_THROW(StarFileRecordLine(Obs(12345.6)), FormatNumError);
}

TEST(StarFileRecordLine, LongJDIsRoundedWhenOnlyDecimalsAreLostAndRefusedOtherwise) {
    const std::pair<double, const char*> fits[] = {
        {-2457845.47505, "-2457845.4751"},    {2454123.99999999, "2454124      "},
        {999999999999.5, "1000000000000"},    {1234567890123.4, "1234567890123"},
        {-0.00000000000001, "0            "}, {2454123.5, "2454123.5    "}};
    for (const auto& [jd, field] : fits) {
        ObsRow r = Obs(9.1);
        r.JD = jd;
        EXPECT_EQ(StarFileRecordLine(r).substr(26, 13), field) << jd;
    }
    for (const double jd : {1e20, -1234567890123.4, 9999999999999.5}) {
        ObsRow r = Obs(9.1);
        r.JD = jd;
        EXPECT_THROW(StarFileRecordLine(r), FormatNumError) << jd;
    }
}

TEST(StarFileHeaderLine, NamesTrimmedStarAndZeroPaddedTime) {
    EXPECT_EQ(StarFileHeaderLine("  R CAR ", kNow),
              "Edited data for R CAR. File created on 03-07-2024 at 09:05:03");
    EXPECT_EQ(StarFileHeaderLine("X", QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))),
              "Edited data for X. File created on 12-31-1999 at 23:59:59");
}

TEST(WriteStarFile, WritesHeaderEmptyLineAndRowsInIdOrder) {
    test::TempTable t;
    t.Add({Obs(9.1), Obs(12.345, "", "AB")});
    int yields = 0;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteStarFile(buffer, t.table, "RCAR", kNow, [&] { ++yields; });
    EXPECT_EQ(buffer.data().toStdString(),
              "Edited data for RCAR. File created on 03-07-2024 at 09:05:03\r\n\r\n" +
                  StarFileRecordLine(Obs(9.1)) + "\r\n" +
                  StarFileRecordLine(Obs(12.345, "", "AB")) + "\r\n");
    EXPECT_EQ(yields, 2);
    test::FailingDevice device(30);
    EXPECT_THROW(WriteStarFile(device, t.table, "RCAR", kNow, {}), SabrixError);
}

TEST(WriteStarFile, EmptyTableOrBadMagnitudeWritesNothing) {
    test::TempTable t;
    test::FailingDevice device(1000);
    try {
        WriteStarFile(device, t.table, "RCAR", kNow, {});
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), "No current record.");
    }
    // The first row in ID order that does not fit is the one named.
    ObsRow farJD = Obs(9.1);
    farJD.JD = 1e20;
    t.Add({Obs(9.1), Obs(9.1234), farJD});
    for (const auto& [id, field, value] :
         {std::tuple(2, StarLayoutMisfit::Field::Mag, "9.1234"),
          std::tuple(3, StarLayoutMisfit::Field::JD, "100000000000000000000")}) {
        try {
            WriteStarFile(device, t.table, "RCAR", kNow, {});
            FAIL() << "no exception";
        } catch (const StarLayoutMisfit& e) {
            EXPECT_EQ(std::tie(e.id, e.field, e.value), std::make_tuple(id, field, value));
        }
        t.table.DeleteByIds({id});
    }
    EXPECT_EQ(device.written(), "");
}

// Save to Star File wrote a file that the program could not load. Now every real download saved
// in the layout loads again with every value the layout holds: the first bytes of the texts
// that have a column, JD to the decimals its thirteen columns keep; saved again, the reloaded
// rows give the very same file.
TEST(WriteStarFile, EveryRealDownloadSavedInTheLayoutLoadsAgainFieldForField) {
    const std::vector<std::string> files = test::RealDownloads();
    ASSERT_GE(files.size(), 2u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        test::TempTable loaded;
        ASSERT_EQ(loaded.LoadStarFile(file, Settings{}).outcome, ImportResult::Outcome::Loaded);
        // The layout cannot hold a magnitude of four decimals: the save refuses a table with
        // one, so those rows go first, as a user would delete them.
        std::vector<int64_t> misfits;
        for (const ObsRow& row : loaded.Rows()) {
            try {
                StarFileRecordLine(row);
            } catch (const FormatNumError&) {
                misfits.push_back(row.ID);
            }
        }
        loaded.table.DeleteByIds(misfits);
        const std::vector<ObsRow> want = loaded.Rows();
        ASSERT_GT(want.size(), 300u);
        const std::string text = StarFileText(loaded.table, "Saved Star", kNow, {});
        test::WriteFileBytes(loaded.dir.file("saved.txt"), text);

        test::TempTable again;
        const ImportResult result = again.LoadStarFile(loaded.dir.file("saved.txt"), Settings{});
        EXPECT_EQ(std::tie(result.outcome, result.rejected, result.starName),
                  std::make_tuple(ImportResult::Outcome::Loaded, 0, "Saved Star"));
        const std::vector<ObsRow> got = again.Rows();
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE(std::to_string(want[i].JD));
            // Real magnitudes have one or two digits before the point: the six-column block,
            // which holds six bytes of Comments and no uncertainty.
            EXPECT_EQ(std::tie(got[i].Faint, got[i].Mag, got[i].Uncertain),
                      std::tie(want[i].Faint, want[i].Mag, ""));
            EXPECT_EQ(got[i].Star, TrimBlanks(LeftJustify(want[i].Star, 10)));
            EXPECT_EQ(got[i].Comments, TrimBlanks(LeftJustify(want[i].Comments, 6)));
            EXPECT_EQ(got[i].Init, TrimBlanks(LeftJustify(want[i].Init, 5)));
            EXPECT_LE(std::abs(got[i].JD - want[i].JD), 0.000005);
        }
        EXPECT_EQ(StarFileText(again.table, "Saved Star", kNow, {}), text);
    }
}

}  // namespace sabrix
