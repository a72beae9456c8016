// The table keeps the plotted columns in memory; after every kind of write, what the plot
// reads must equal what a fresh query of the database returns.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "data/BandColor.h"
#include "data/StarFileImport.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

using Point = std::tuple<double, float, int32_t>;

std::vector<Point> Plotted(const ObsTable& table, double a, double b, bool omitFainter) {
    std::vector<Point> points;
    table.ForEachPointInWindow(a, b, omitFainter, [&](const PlotPoint& p) {
        points.emplace_back(p.JD, p.Mag, p.PunktFarb);
    });
    return points;
}

// The database file read through a connection of the test's own, past the table's cache.
std::vector<Point> Queried(const ObsTable& table, double a, double b, bool omitFainter) {
    SQLite::Database db(table.path(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db,
                        std::string("SELECT JD, Mag, PunktFarb FROM Obs WHERE JD BETWEEN ? AND ?") +
                            (omitFainter ? " AND Faint <> '<'" : "") + " ORDER BY JD, ID");
    q.bind(1, std::min(a, b));
    q.bind(2, std::max(a, b));
    std::vector<Point> points;
    while (q.executeStep())
        points.emplace_back(q.getColumn(0).getDouble(),
                            static_cast<float>(q.getColumn(1).getDouble()),
                            q.getColumn(2).getInt());
    return points;
}

// The IDs a box selection reads from the plot columns, against the SQL of a fresh connection.
void ExpectBoxInStep(const ObsTable& table, double jdA, double jdB, double magA, double magB) {
    SQLite::Database db(table.path(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db,
                        "SELECT ID FROM Obs WHERE JD BETWEEN ? AND ? AND Mag BETWEEN ? AND ? "
                        "ORDER BY JD, ID");
    q.bind(1, std::min(jdA, jdB));
    q.bind(2, std::max(jdA, jdB));
    q.bind(3, std::min(magA, magB));
    q.bind(4, std::max(magA, magB));
    std::vector<int64_t> ids;
    while (q.executeStep()) ids.push_back(q.getColumn(0).getInt64());
    EXPECT_EQ(table.IdsInBox(jdA, jdB, magA, magB), ids);
}

// Compares the plot's view of the table with the database over several windows.
void ExpectInStep(const ObsTable& table) {
    for (bool omit : {false, true}) {
        EXPECT_EQ(Plotted(table, -1e9, 1e9, omit), Queried(table, -1e9, 1e9, omit));
        EXPECT_EQ(Plotted(table, 2450003, 2450001, omit), Queried(table, 2450001, 2450003, omit));
    }
    ExpectBoxInStep(table, -1e9, 1e9, -1e9, 1e9);
    ExpectBoxInStep(table, 2450003.5, 2450001.5, 11.0, 9.1);  // edges on rows, dragged back
    SQLite::Database db(table.path(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db, "SELECT MIN(Mag), MAX(Mag), MIN(JD), MAX(JD), COUNT(*) FROM Obs");
    q.executeStep();
    const auto e = table.Extremes();
    ASSERT_EQ(e.has_value(), q.getColumn(4).getInt() > 0);
    if (!e) return;
    EXPECT_EQ(std::make_tuple(e->MagBrightest, e->MagFaintest, e->JDFirst, e->JDLast),
              std::make_tuple(static_cast<float>(q.getColumn(0).getDouble()),
                              static_cast<float>(q.getColumn(1).getDouble()),
                              q.getColumn(2).getDouble(), q.getColumn(3).getDouble()));
}

const char* const kStar =
    "2450003.5,9.1,,,V,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450001.5,<11.0,,,Vis.,XYZ,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.5,,,B,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.4,,,Vis.,XYZ,,,,,,,,,,,,R LEO\r\n"
    "2450004.5,8.0,,,R,QQQ,,,,,,,,,,,,R LEO\r\n";

void Import(const test::TempTable& t, ObsTable& table, const Settings& colors) {
    test::WriteFileBytes(t.dir.file("star.txt"), kStar);
    const ImportResult r =
        ImportStarFileRows(t.dir.file("star.txt"), t.dir.file("Errors.txt"), table, colors, {});
    ASSERT_EQ(r.outcome, ImportResult::Outcome::Loaded);
}

TEST(PlotColumns, StayInStepWithTheTableThroughEveryKindOfWrite) {
    test::TempTable t;
    AppState state;
    state.settings.ColorV = state.settings.ColorB = 16744448;
    state.settings.ColorR = 255;
    state.settings.ColorVIS = 65280;
    state.settings.ColorFAINT = 9539985;
    ExpectInStep(t.table);  // empty
    Import(t, t.table, state.settings);
    ExpectInStep(t.table);
    Import(t, t.table, state.settings);  // a second load into a filled table merges in JD order
    ExpectInStep(t.table);
    ASSERT_TRUE(t.table.DeleteById(3));
    ExpectInStep(t.table);
    EXPECT_EQ(t.table.MarkObserverInIdOrder("ABC", 16711935, "1", [](double, double) {}), 3);
    ExpectInStep(t.table);
    t.table.UnMarkAll([&state](const ObsRow& row) {
        return BandColor(row.Faint, row.Band, row.Valid, state.settings);
    });
    ExpectInStep(t.table);
    EXPECT_EQ(Plotted(t.table, 2450003.5, 2450003.5, false),
              (std::vector<Point>{{2450003.5, 9.1f, 16744448}, {2450003.5, 9.1f, 16744448}}));
    // The writes of the record list: an edit that moves a row, a mark, a delete of several.
    ObsRow moved = *t.table.RowById(2);
    moved.JD = 2450004.0;
    moved.Mag = 12.25;
    moved.Faint = "";
    moved.PunktFarb = 42;
    ASSERT_TRUE(t.table.UpdateRow(moved));
    ExpectInStep(t.table);
    std::vector<double> marked;
    EXPECT_EQ(t.table.MarkObserverInIdOrder("XYZ", 7, "2",
                                            [&](double jd, double) { marked.push_back(jd); }),
              4);
    EXPECT_EQ(marked, (std::vector<double>{2450004.0, 2450002.5, 2450001.5, 2450002.5}));  // by ID
    ExpectInStep(t.table);
    EXPECT_EQ(t.table.DeleteByIds({1, 2, 99}), 2);
    ExpectInStep(t.table);
}

TEST(PlotColumns, AreReadFromAnExistingFileAndFromAFreshCopyAfterAnUnload) {
    test::TempTable t;
    const std::string path = t.dir.file("Sabrix97.db");
    std::filesystem::copy_file(t.dir.file("Template97.db"), path);
    {
        ObsTable table(path);
        Import(t, table, Settings{});
    }
    {
        ObsTable reopened(path);  // the rows were written by an earlier connection
        EXPECT_EQ(Plotted(reopened, -1e9, 1e9, false).size(), 5u);
        ExpectInStep(reopened);
    }
    // Unloading replaces the working database with a fresh copy of the template.
    std::filesystem::remove(path);
    std::filesystem::copy_file(t.dir.file("Template97.db"), path);
    ObsTable fresh(path);
    EXPECT_TRUE(Plotted(fresh, -1e9, 1e9, false).empty());
}

TEST(PlotColumns, ARolledBackInsertLeavesNothingBehind) {
    test::TempTable t;
    {
        ObsTable::BulkInserter inserter(t.table);
        inserter.add(ObsRow{});
    }
    ExpectInStep(t.table);
    EXPECT_TRUE(Plotted(t.table, -1e9, 1e9, false).empty());
}

}  // namespace
}  // namespace sabrix
