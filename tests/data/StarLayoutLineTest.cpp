// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDateTime>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "data/StarLayoutLine.h"

namespace sabrix {
namespace {

ObsRow Row(double mag, const std::string& faint, const std::string& uncertain,
           const std::string& comments, const std::string& init) {
    ObsRow r;
    r.Star = "R LEO";
    r.Desig = "1234+56";
    r.JD = 2454123.5;
    r.Mag = mag;
    r.Faint = faint;
    r.Uncertain = uncertain;
    r.Comments = comments;
    r.Init = init;
    return r;
}

// Each of the three magnitude blocks of the writer, read back into the fields of a download
// line: what the line holds comes back as it was.
TEST(SplitStarLayoutLine, EveryBlockTheWriterChoosesReadsBackAsItsRow) {
    const std::vector<ObsRow> rows = {
        Row(9.1, "", "0.02", "ABC", "XYZ"),
        Row(12.345, "<", "", "", "AB"),
        Row(-9.5, "", "", "K", "Q"),
        Row(123.4, "", "7", "LONGER", "OBS12"),
        Row(1234.5, "<", "3", "SEVEN77", "ABCDE"),
    };
    Settings colors;
    for (const ObsRow& row : rows) {
        const std::string line = StarFileRecordLine(row);
        SCOPED_TRACE(line);
        std::vector<std::string_view> fields;
        ASSERT_TRUE(SplitStarLayoutLine(line, fields));
        ASSERT_EQ(fields.size(), 19u);
        ObsRow back;
        ASSERT_TRUE(FillStarRow(fields, colors, back));
        EXPECT_EQ(back.Star, row.Star);
        EXPECT_EQ(back.Desig, row.Desig);
        EXPECT_EQ(back.JD, row.JD);
        EXPECT_EQ(back.Faint, row.Faint);
        EXPECT_EQ(back.Comments, row.Comments);
        EXPECT_EQ(back.Init, row.Init);
        // The six-column block holds no uncertainty, the others its first character; the
        // four-column block holds the magnitude's first four characters.
        EXPECT_EQ(back.Uncertain, row.Mag < 100 ? "" : row.Uncertain);
        EXPECT_EQ(back.Mag, row.Mag == 1234.5 ? 1234 : row.Mag);
    }
}

TEST(SplitStarLayoutLine, LinesOfOtherShapesAreNoRecordLines) {
    const std::string good = StarFileRecordLine(Row(9.1, "", "", "ABC", "XYZ"));
    std::vector<std::string_view> fields = {"kept"};
    std::vector<std::string> bad = {"", good + " ", good.substr(1), "2454123.5,9.1,,,V,XYZ"};
    for (const size_t blank : {size_t{8}, size_t{19}, size_t{25}, size_t{52}, size_t{53}}) {
        std::string line = good;
        line[blank] = 'x';
        bad.push_back(line);
    }
    std::string noPoint = good;
    noPoint[42] = '5';
    bad.push_back(noPoint + " ");  // 60 bytes without the point of "123.4" in its place
    for (const std::string& line : bad) {
        EXPECT_FALSE(SplitStarLayoutLine(line, fields)) << line;
        EXPECT_EQ(fields, std::vector<std::string_view>{"kept"});
    }
}

TEST(ReadStarLayoutHeader, KnowsTheDatedHeaderAndGivesTheNameAsSaved) {
    const QDateTime now(QDate(2024, 3, 7), QTime(9, 5, 3));
    std::string name = "unchanged";
    EXPECT_TRUE(ReadStarLayoutHeader(StarFileHeaderLine(" ASASSN-V J0600. x ", now), name));
    EXPECT_EQ(name, "ASASSN-V J0600. x");
    for (const char* line :
         {"Edited data for R Leo. File created on 03-07-2024 at 09:05",
          "Edited data for R Leo. File created on 3-7-2024 at 09:05:03", "JD,Magnitude,Uncertainty",
          "", "Edited data for R Leo, File created on 03-07-2024 at 09:05:03"})
        EXPECT_FALSE(ReadStarLayoutHeader(line, name)) << line;
    EXPECT_EQ(name, "ASASSN-V J0600. x");
}

}  // namespace
}  // namespace sabrix
