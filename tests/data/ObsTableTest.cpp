#include <gtest/gtest.h>

#include <vector>

#include "data/ObsTable.h"
#include "support/TestEnvironment.h"

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

TEST(ObsTable, InsertsInOneTransactionAndRollsBackWithoutCommit) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    {
        ObsTable::BulkInserter inserter(table);
        inserter.add(Row(1, 9));
    }
    EXPECT_EQ(table.Count(), 0);
    ObsTable::BulkInserter inserter(table);
    inserter.add(Row(2, 9));
    inserter.add(Row(1, 10, "<"));
    inserter.commit();
    EXPECT_EQ(table.Count(), 2);
    auto e = table.Extremes();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->JDFirst, 1);
    EXPECT_EQ(e->JDLast, 2);
    EXPECT_EQ(e->MagBrightest, 9.0f);
    EXPECT_EQ(e->MagFaintest, 10.0f);
}

TEST(ObsTable, WindowQueryIsInclusiveOrderedAndOmitsFainterThans) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    ObsTable::BulkInserter inserter(table);
    for (double jd : {5.0, 1.0, 3.0, 2.0, 4.0}) inserter.add(Row(jd, jd, jd == 3.0 ? "<" : ""));
    inserter.commit();
    std::vector<double> seen;
    table.ForEachPointInWindow(4, 2, false, [&](const PlotPoint& p) { seen.push_back(p.JD); });
    EXPECT_EQ(seen, (std::vector<double>{2, 3, 4}));
    seen.clear();
    table.ForEachPointInWindow(2, 4, true, [&](const PlotPoint& p) { seen.push_back(p.JD); });
    EXPECT_EQ(seen, (std::vector<double>{2, 4}));
    auto w = table.ExtremesInWindow(2, 4);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->BrightMag, 2.0f);
    EXPECT_EQ(w->FaintJD, 4.0);
    EXPECT_FALSE(table.ExtremesInWindow(10, 20));
}

TEST(ObsTable, MarksUnmarksAndDeletesRows) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    ObsTable::BulkInserter inserter(table);
    inserter.add(Row(1, 9, "", "ABC"));
    inserter.add(Row(2, 9, "", "XYZ"));
    inserter.add(Row(3, 9, "", "ABC"));
    inserter.commit();
    EXPECT_EQ(table.MarkObserver("ABC", 16711680, "1"), 2);
    EXPECT_EQ(table.RowById(1)->Marked, "1");
    EXPECT_EQ(table.RowById(1)->PunktFarb, 16711680);
    EXPECT_EQ(table.UnMarkAll([](const ObsRow&) { return 65280; }), 2);
    EXPECT_EQ(table.RowById(3)->PunktFarb, 65280);
    EXPECT_EQ(table.RowById(2)->PunktFarb, 255);  // never marked: untouched
    EXPECT_TRUE(table.DeleteById(2));
    EXPECT_FALSE(table.DeleteById(2));
    std::vector<int64_t> ids;
    table.ForEachRowById([&](const ObsRow& r) { ids.push_back(r.ID); });
    EXPECT_EQ(ids, (std::vector<int64_t>{1, 3}));
}

TEST(ObsTable, KeepsTextBytesAndHasStDev) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    ObsTable::BulkInserter inserter(table);
    ObsRow r = Row(1, 9);
    r.Comments = std::string("caf\xe9, \"quoted\"");  // Latin-1 byte, not valid UTF-8
    inserter.add(r);
    inserter.add(Row(2, 11));
    inserter.commit();
    EXPECT_EQ(table.RowById(1)->Comments, r.Comments);
    SQLite::Statement q(table.database(), "SELECT StDev(Mag) FROM Obs");
    q.executeStep();
    EXPECT_NEAR(q.getColumn(0).getDouble(), 1.41421356, 1e-6);
}

}  // namespace sabrix
