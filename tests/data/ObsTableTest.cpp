// SPDX-License-Identifier: GPL-3.0-or-later
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/SabrixError.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {
ObsRow Row(double jd, double mag, const std::string& faint = "", const std::string& init = "") {
    ObsRow r;
    r.JD = jd;
    r.Mag = mag;
    r.Faint = faint;
    r.Init = init;
    r.PunktFarb = 255;
    return r;
}
}  // namespace

TEST(ObsTable, InsertsInOneTransactionAndQueriesWindowsInclusiveAndInOrder) {
    test::TempTable t;
    {
        ObsTable::BulkInserter inserter(t.table);
        inserter.add(Row(1, 9));
    }  // no commit: rolled back
    EXPECT_EQ(t.table.Count(), 0);
    EXPECT_FALSE(t.table.Extremes(PointFilter()));
    t.Add({Row(5, 5), Row(1, 1), Row(3, 3, "<"), Row(2, 2), Row(4, 4)});
    const auto e = t.table.Extremes(PointFilter());
    ASSERT_TRUE(e);
    EXPECT_EQ(std::make_tuple(e->JDFirst, e->JDLast, e->MagBrightest, e->MagFaintest),
              std::make_tuple(1.0, 5.0, 1.0f, 5.0f));
    for (bool omit : {false, true}) {
        std::vector<double> seen;
        t.table.ForEachPointInWindow(4, 2, PointFilter(t.table.Columns(), {}, omit, false),
                                     [&](const PlotPoint& p) { seen.push_back(p.JD); });
        EXPECT_EQ(seen, (omit ? std::vector<double>{2, 4} : std::vector<double>{2, 3, 4}));
    }
}

TEST(ObsTable, AWorkingDatabaseShortenedByAnotherProgramFailsAReadInsteadOfABusError) {
    for (const off_t length : {off_t{0}, off_t{8192}}) {
        test::TempTable t;
        t.Add(std::vector<ObsRow>(20000, Row(2455000, 9)));
        ASSERT_EQ(t.Rows().size(), 20000u);
        ASSERT_EQ(truncate(t.table.path().c_str(), length), 0);
        EXPECT_ANY_THROW({
            t.Rows();
            t.table.RowById(19000);
        }) << length;
    }
}

TEST(ObsTable, MarksUnmarksAndDeletesRows) {
    test::TempTable t;
    t.Add({Row(1, 9, "", "ABC"), Row(2, 9, "", "XYZ"), Row(3, 9, "", "ABC")});
    EXPECT_EQ(t.table.MarkObserverInIdOrder("ABC", 16711680, "1", [](double, double) {}), 2);
    EXPECT_EQ(t.table.RowById(1)->Marked, "1");
    EXPECT_EQ(t.table.RowById(1)->PunktFarb, 16711680);
    EXPECT_EQ(t.table.UnMarkAll([](const ObsRow&) { return 65280; }), 2);
    EXPECT_EQ(t.table.RowById(3)->PunktFarb, 65280);
    EXPECT_EQ(t.table.RowById(2)->PunktFarb, 255);  // never marked: untouched
    EXPECT_EQ(t.table.DeleteByIds({2}), 1);
    EXPECT_EQ(t.table.DeleteByIds({2}), 0);
    EXPECT_EQ(t.Rows().size(), 2u);
    // More rows than one statement marks.
    t.Add(std::vector<ObsRow>(1201, Row(4, 9, "", "ABC")));
    std::vector<double> visited;
    EXPECT_EQ(t.table.MarkObserverInIdOrder("ABC", 7, "2",
                                            [&](double jd, double) { visited.push_back(jd); }),
              1203);
    EXPECT_EQ(visited.size(), 1203u);
    for (const ObsRow& row : t.Rows())
        EXPECT_EQ(std::tie(row.Marked, row.PunktFarb), std::make_tuple("2", 7));
    EXPECT_EQ(t.Rows()[1].ID, 3);
}

// UpdateRows put a point into the columns for a row deleted underneath it.
TEST(ObsTable, UpdatesPassOverRowsThatAreGone) {
    test::TempTable t;
    t.Add({Row(1, 9), Row(2, 9)});
    std::vector<ObsRow> rows = t.Rows();
    ASSERT_EQ(t.table.DeleteByIds({rows[0].ID}), 1);
    rows[0].Mag = rows[1].Mag = 7;
    EXPECT_EQ(t.table.UpdateRows(rows), 1);
    EXPECT_FALSE(t.table.UpdateRow(rows[0]));
    EXPECT_EQ(t.table.Columns().size(), 1u);
    EXPECT_EQ(t.table.Extremes(PointFilter())->MagBrightest, 7.0f);
}

TEST(ObsTable, MarkingThatCannotBeWrittenIsSaidOnceAndLeavesTheColumnsAsTheTable) {
    test::TempTable t;
    t.Add({Row(1, 9, "", "ABC"), Row(2, 9, "", "ABC")});
    {
        SQLite::Database db(t.table.path(), SQLite::OPEN_READWRITE);
        db.exec(
            "CREATE TRIGGER refuse BEFORE UPDATE ON Obs BEGIN SELECT RAISE(ABORT, 'full'); END");
    }
    std::vector<double> visited;
    // The marking shows at once; its rows are written behind.
    EXPECT_EQ(t.table.MarkObserverInIdOrder("ABC", 7, "1",
                                            [&](double jd, double) { visited.push_back(jd); }),
              2);
    EXPECT_EQ(visited, (std::vector<double>{1, 2}));
    EXPECT_THROW(t.table.Count(), SabrixError);
    EXPECT_EQ(t.table.Count(), 2);
    for (const ObsRow& row : t.Rows())
        EXPECT_EQ(std::tie(row.Marked, row.PunktFarb), std::make_tuple("", 255));
    t.table.ForEachPointInWindow(-1e9, 1e9, PointFilter(),
                                 [](const PlotPoint& p) { EXPECT_EQ(p.PunktFarb, 255); });
}

TEST(ObsTable, KeepsTextBytes) {
    test::TempTable t;
    ObsRow r = Row(1, 9);
    r.Comments = std::string("caf\xe9, \"quoted\"");  // Latin-1 byte, not valid UTF-8
    t.Add({r, Row(2, 11)});
    EXPECT_EQ(t.table.RowById(1)->Comments, r.Comments);
}

}  // namespace sabrix

namespace sabrix {

TEST(ObsTable, TableOfAnOlderTemplateGetsTheSixDownloadColumnsItLacks) {
    // The Obs of a template written before the six later download fields were kept, with a
    // row in it: the working copy of such a template must load, keep and give back all fields.
    test::TempProgramDir dir(false);
    const std::string path = dir.file("Old.db");
    {
        SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec(
            "CREATE TABLE Obs (ID INTEGER PRIMARY KEY, Desig TEXT NOT NULL DEFAULT '', Star TEXT "
            "NOT NULL DEFAULT '', JD REAL NOT NULL, Faint TEXT NOT NULL DEFAULT '', Mag REAL NOT "
            "NULL, Uncertain TEXT NOT NULL DEFAULT '', HQUncertain TEXT NOT NULL DEFAULT '', Band "
            "TEXT NOT NULL DEFAULT '', Init TEXT NOT NULL DEFAULT '', ComCod TEXT NOT NULL DEFAULT "
            "'', Comp1 TEXT NOT NULL DEFAULT '', Comp2 TEXT NOT NULL DEFAULT '', Charts TEXT NOT "
            "NULL DEFAULT '', Comments TEXT NOT NULL DEFAULT '', XForm TEXT NOT NULL DEFAULT '', "
            "AirMass TEXT NOT NULL DEFAULT '', Valid TEXT NOT NULL DEFAULT '', CMag TEXT NOT NULL "
            "DEFAULT '', KMag TEXT NOT NULL DEFAULT '', HQJD TEXT NOT NULL DEFAULT '', PunktFarb "
            "INTEGER NOT NULL DEFAULT 0, Marked TEXT NOT NULL DEFAULT '', Edited TEXT NOT NULL "
            "DEFAULT '', Error REAL NOT NULL DEFAULT 0);"
            "INSERT INTO Obs (JD, Mag, Star) VALUES (2454000.5, 9, 'OLD')");
    }
    for (int opening = 0; opening < 2; ++opening) {  // a second opening finds them in place
        ObsTable table(path);
        ObsRow row;
        row.JD = 2454001.5;
        row.Mag = 9.5;
        row.ObserverAffiliation = "VVS";
        row.Credit = "C";
        ObsTable::BulkInserter inserter(table);
        inserter.add(row);
        inserter.commit();
    }
    ObsTable table(path);
    std::vector<ObsRow> rows;
    table.ForEachRowById([&](const ObsRow& r) { rows.push_back(r); });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(std::tie(rows[0].Star, rows[0].ObserverAffiliation, rows[0].Credit),
              std::make_tuple("OLD", "", ""));
    EXPECT_EQ(std::tie(rows[2].ObserverAffiliation, rows[2].Credit), std::make_tuple("VVS", "C"));
}

}  // namespace sabrix
