// SPDX-License-Identifier: GPL-3.0-or-later
// Box selection, locate, the list lines, observer marking and the record editor's checks,
// on a table of their own.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "interaction/ObserverMarking.h"
#include "interaction/RecordFields.h"
#include "interaction/RecordSelection.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

ObsRow Row(double jd, double mag, const std::string& init = "ABC") {
    ObsRow r;
    r.JD = jd;
    r.Mag = mag;
    r.Init = init;
    r.Band = "V";
    r.Star = "R LEO";
    return r;
}

TEST(BoxFinder, RoundsTheBoundsAndTakesTheCornersInEitherOrder) {
    const struct {
        double x1, y1, x2, y2;
    } drags[] = {
        {10.12344, 9.126, 20.5, 11.0},
        {20.5, 11.0, 10.12344, 9.126},  // up and left
        {10.12344, 11.0, 20.5, 9.126},
    };
    for (const auto& d : drags) {
        const SelectionBounds b = BoxBounds(d.x1, d.y1, d.x2, d.y2, 2455000);
        EXPECT_EQ(std::make_tuple(b.jdLow, b.jdHigh, b.magLow, b.magHigh),
                  std::make_tuple(2455010.1234, 2455020.5, 9.13, 11.0));
    }
}

TEST(BoxFinder, SelectsTheRowsOnAndInsideTheEdgesInJDOrder) {
    test::TempTable t;
    t.Add({Row(2455020.5, 11.0), Row(2455010.1234, 9.13), Row(2455015, 10), Row(2455010.1233, 10),
           Row(2455015, 11.01), Row(2455015, 9.12), Row(2455010.1234, 10)});
    const SelectionBounds box = BoxBounds(20.5, 11.0, 10.12344, 9.126, 2455000);
    EXPECT_EQ((SelectRecords(t.table, box, PointFilter())), (std::vector<int64_t>{2, 7, 3, 1}));
    // A click without a drag selects the rows at the rounded point only.
    EXPECT_EQ((SelectRecords(t.table, BoxBounds(15, 10, 15, 10, 2455000), PointFilter())),
              std::vector<int64_t>{3});
    EXPECT_TRUE(SelectRecords(t.table, BoxBounds(30, 10, 40, 12, 2455000), PointFilter()).empty());
}

TEST(Finder, AcceptsRowsWithinADayAndATenthOfAMagnitudeAtTheseFactors) {
    // WinJDWidth 200 at JDMagnification 2: a hundredth of 200, halved, is 1.0 day.
    PlotWindowState view;
    view.JDFirst = 2455000;
    view.WinJDWidth = 200;
    view.JDMagnification = 2.0f;
    view.MagMagnification = 1.0f;
    test::TempTable t;
    t.Add({Row(2455049, 10.1), Row(2455051, 9.9), Row(2455048.99, 10), Row(2455051.01, 10),
           Row(2455050, 10.11), Row(2455050, 9.89), Row(2455050.5, 10.05)});
    EXPECT_EQ((SelectRecords(t.table, LocateBounds(50, 10, view), PointFilter())),
              (std::vector<int64_t>{1, 7, 2}));
    // At twice the magnitude factor the magnitude reach halves.
    view.MagMagnification = 2.0f;
    EXPECT_EQ((SelectRecords(t.table, LocateBounds(50, 10, view), PointFilter())),
              std::vector<int64_t>{7});
    // Nothing near the press: nothing listed.
    EXPECT_TRUE(SelectRecords(t.table, LocateBounds(80, 10, view), PointFilter()).empty());
}

TEST(ListLine, JoinsTheFieldsAsStoredWithTheMagnitudeRules) {
    ObsRow r = Row(2455010.25, 12);
    r.Faint = "<";
    r.Uncertain = "0.1";
    r.ComCod = " B ";
    r.Comp1 = "110";
    r.Comments = "  thin clouds ";
    r.Valid = "Z";
    r.HQJD = "2455010.2";
    EXPECT_EQ(ListLine(r).line,
              "2455010.25,<12.0,0.1,,V,ABC,B,110,,,thin clouds,,,Z,,,2455010.2,R LEO");
    const std::tuple<double, std::string, std::string> mags[] = {
        {12.4, "", "12.4"}, {12.4, "<", "<12.4"}, {12, "", "12.0"}, {9.05, "", "9.05"}};
    for (const auto& [mag, faint, shown] : mags) {
        ObsRow m = Row(2455000, mag);
        m.Faint = faint;
        EXPECT_EQ(ListLine(m).line, "2455000," + shown + ",,,V,ABC,,,,,,,,,,,,R LEO");
    }
}

TEST(MarkObs, NumbersEachMarkingAndListsItsRowsInIdOrderUntilUnMarkObsTakesThemAway) {
    test::TempTable t;
    t.Add({Row(2455003, 9, "O'B"), Row(2455001, 10, "ABC"), Row(2455002, 11.5, "O'B"),
           Row(2455000, 8, "O'B")});
    ObserverMarks marks;
    marks.MarkCount = 4;  // a count carried over from earlier markings
    // A code with a single quote is a code like any other.
    MarkObs(marks, t.table, "O'B", 255);
    MarkObs(marks, t.table, "O'B", 65280);
    const std::vector<MarkEntry> expected = {
        {"5", "2455003", "9", "255"},      {"5", "2455002", "11.5", "255"},
        {"5", "2455000", "8", "255"},      {"6", "2455003", "9", "65280"},
        {"6", "2455002", "11.5", "65280"}, {"6", "2455000", "8", "65280"}};
    EXPECT_EQ(marks.MarkList, expected);
    EXPECT_EQ(marks.MarkCount, 6);
    EXPECT_TRUE(marks.ObserverMarked);
    for (const ObsRow& r : t.Rows()) {
        const bool ob = r.Init == "O'B";
        EXPECT_EQ(std::make_tuple(r.PunktFarb, r.Marked),
                  std::make_tuple(ob ? 65280 : 0, std::string(ob ? "6" : "")))
            << r.ID;
    }
    // Unmarked, each marked row gets its band colour back; the other rows are not touched.
    Settings colors;
    colors.ColorV = 16744448;
    UnMarkObs(marks, colors, t.table);
    EXPECT_TRUE(marks.MarkList.empty());
    EXPECT_EQ(marks.MarkCount, 0);
    EXPECT_FALSE(marks.ObserverMarked);
    for (const ObsRow& r : t.Rows())
        EXPECT_EQ(std::make_tuple(r.PunktFarb, r.Marked),
                  std::make_tuple(r.Init == "O'B" ? 16744448 : 0, std::string()))
            << r.ID;
}

TEST(EditedRow, RefusesNumbersThatAreNotAndFaintMarksOtherThanLessThan) {
    ObsRow row = Row(2455000.5, 9.5);
    const struct {
        size_t field;
        QString text;
        QString refusal;
    } refused[] = {
        {0, "2455000,5",
         "JD is not a number: \"2455000,5\". Type a number such as 2455000.5; "
         "nothing has been changed."},
        {0, "",
         "JD is not a number: \"\". Type a number such as 2455000.5; nothing has been "
         "changed."},
        {2, "9.5:",
         "Mag is not a number: \"9.5:\". Type a number such as 9.5; nothing has "
         "been changed."},
        {1, ">",
         "Faint must be \"<\" (a fainter-than estimate) or empty, not \">\"; nothing "
         "has been changed."},
    };
    for (const auto& r : refused) {
        std::vector<RecordField> fields = FieldsOf(row);
        fields[r.field].text = r.text;
        QString refusal;
        EXPECT_FALSE(EditedRow(row, fields, refusal)) << r.text.toStdString();
        EXPECT_EQ(refusal, r.refusal);
    }
}

TEST(EditedRow, WritesWhatChangedAndKeepsTheBytesOfEveryFieldLeftAlone) {
    ObsRow row = Row(2455000.123456789, 9.5);
    row.Comments = std::string("caf\xe9");  // Latin-1, not UTF-8
    row.Comp1 = "old";
    std::vector<RecordField> fields = FieldsOf(row);
    ASSERT_EQ(fields[0].name, QString("JD"));
    fields[1].text = " < ";
    fields[2].text = "10.25";
    fields[8].text = QString::fromUtf8("\xc3\xa9toile");  // Comp1
    ASSERT_EQ(fields[8].name, QString("Comp1"));
    QString refusal;
    const std::optional<ObsRow> edited = EditedRow(row, fields, refusal);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->JD, row.JD);
    EXPECT_EQ(edited->Faint, "<");
    EXPECT_EQ(edited->Mag, 10.25);
    EXPECT_EQ(edited->Comp1, "\xc3\xa9toile");
    EXPECT_EQ(edited->Comments, row.Comments);
    EXPECT_EQ(edited->Init, row.Init);
}

}  // namespace
}  // namespace sabrix
