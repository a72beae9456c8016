// SPDX-License-Identifier: GPL-3.0-or-later
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
    table.ForEachPointInWindow(
        a, b, PointFilter(table.Columns(), {}, omitFainter, false),
        [&](const PlotPoint& p) { points.emplace_back(p.JD, p.Mag, p.PunktFarb); });
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

// Every part of every point, and the counts of bands and observers, against the SQL of a fresh
// connection.
void ExpectPointsInStep(const ObsTable& table) {
    using Part =
        std::tuple<double, int64_t, double, int32_t, bool, float, std::string, bool, std::string>;
    const PlotColumns& columns = table.Columns();
    std::vector<Part> held;
    for (const ObsPoint& p : columns.All())
        held.emplace_back(p.JD, p.ID, p.MagStored, p.PunktFarb, p.faint, p.uncertainty,
                          columns.Bands()[p.band].text, p.discrepant,
                          columns.Observers()[p.observer].text);
    SQLite::Database db(table.path(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db,
                        "SELECT JD, ID, Mag, PunktFarb, Faint = '<', Uncertain, TRIM(Band, ' '), "
                        "TRIM(Valid, ' ') = 'D', Init FROM Obs ORDER BY JD, ID");
    std::vector<Part> stored;
    while (q.executeStep())
        stored.emplace_back(
            q.getColumn(0).getDouble(), q.getColumn(1).getInt64(), q.getColumn(2).getDouble(),
            q.getColumn(3).getInt(), q.getColumn(4).getInt() != 0,
            PlotColumns::UncertaintyOf(q.getColumn(5).getString()), q.getColumn(6).getString(),
            q.getColumn(7).getInt() != 0, q.getColumn(8).getString());
    EXPECT_EQ(held, stored);
    const auto counted = [&db](const char* column, const std::vector<ColumnText>& texts) {
        std::vector<std::pair<std::string, int64_t>> held;
        for (const ColumnText& t : texts)
            if (t.count != 0) held.emplace_back(t.text, t.count);
        std::sort(held.begin(), held.end());
        SQLite::Statement q(db, std::string("SELECT ") + column + ", COUNT(*) FROM Obs GROUP BY " +
                                    column + " ORDER BY " + column);
        std::vector<std::pair<std::string, int64_t>> stored;
        while (q.executeStep())
            stored.emplace_back(q.getColumn(0).getString(), q.getColumn(1).getInt64());
        EXPECT_EQ(held, stored) << column;
    };
    counted("TRIM(Band, ' ')", columns.Bands());
    counted("Init", columns.Observers());
}

// Compares the plot's view of the table with the database over several windows.
void ExpectInStep(const ObsTable& table) {
    table.Count();  // a statement of the table: it waits for a marking still being written
    ExpectPointsInStep(table);
    for (bool omit : {false, true}) {
        EXPECT_EQ(Plotted(table, -1e9, 1e9, omit), Queried(table, -1e9, 1e9, omit));
        EXPECT_EQ(Plotted(table, 2450003, 2450001, omit), Queried(table, 2450001, 2450003, omit));
    }
    SQLite::Database db(table.path(), SQLite::OPEN_READONLY);
    SQLite::Statement q(db, "SELECT MIN(Mag), MAX(Mag), MIN(JD), MAX(JD), COUNT(*) FROM Obs");
    q.executeStep();
    const auto e = table.Extremes(PointFilter());
    ASSERT_EQ(e.has_value(), q.getColumn(4).getInt() > 0);
    if (!e) return;
    EXPECT_EQ(std::make_tuple(e->MagBrightest, e->MagFaintest, e->JDFirst, e->JDLast),
              std::make_tuple(static_cast<float>(q.getColumn(0).getDouble()),
                              static_cast<float>(q.getColumn(1).getDouble()),
                              q.getColumn(2).getDouble(), q.getColumn(3).getDouble()));
}

// Uncertainties with blanks, none and no number; a band with blanks; a discrepant mark.
const char* const kStar =
    "2450003.5,9.1, 0.02 ,,V,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450001.5,<11.0,,,Vis.,XYZ,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.5,0.1,,B,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.4,x,, Vis. ,XYZ,,,,,,,,D,,,,R LEO\r\n"
    "2450004.5,8.0,-1,,R,QQQ,,,,,,,,,,,,R LEO\r\n";

// The rows of kStar loaded as the window loads them: the columns first, the rows behind them.
void Load(test::TempTable& t, const Settings& colors) {
    test::WriteFileBytes(t.dir.file("star.txt"), kStar);
    ASSERT_EQ(t.LoadStarFile(t.dir.file("star.txt"), colors).outcome,
              ImportResult::Outcome::Loaded);
}

// The same rows again, added to a filled table.
void AddAgain(test::TempTable& t) {
    std::vector<ObsRow> rows = t.Rows();
    for (ObsRow& row : rows) row.Band = " " + row.Band + " ";
    t.Add(rows);
}

TEST(PlotColumns, StayInStepWithTheTableThroughEveryKindOfWrite) {
    test::TempTable t;
    AppState state;
    state.settings.ColorV = state.settings.ColorB = 16744448;
    state.settings.ColorR = 255;
    state.settings.ColorVIS = 65280;
    state.settings.ColorFAINT = 9539985;
    ExpectInStep(t.table);  // empty
    Load(t, state.settings);
    ExpectInStep(t.table);
    EXPECT_EQ(t.table.Columns().Bands().size(), 4u);  // V, Vis., B, R
    AddAgain(t);  // rows added to a filled table merge in JD order
    ExpectInStep(t.table);
    ASSERT_EQ(t.table.DeleteByIds({3}), 1);
    ExpectInStep(t.table);
    EXPECT_EQ(t.table.MarkObserverInIdOrder("ABC", 16711935, "1", [](double, double) {}), 3);
    EXPECT_EQ(t.table.MarkObserverInIdOrder("AB", 1, "9", [](double, double) {}), 0);
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
    moved.Band = "TG";
    moved.Init = "ABC";  // no longer one of XYZ's
    moved.Valid = "D";
    moved.Uncertain = "0.3";
    ASSERT_TRUE(t.table.UpdateRow(moved));
    ExpectInStep(t.table);
    std::vector<double> marked;
    EXPECT_EQ(t.table.MarkObserverInIdOrder("XYZ", 7, "2",
                                            [&](double jd, double) { marked.push_back(jd); }),
              3);
    EXPECT_EQ(marked, (std::vector<double>{2450002.5, 2450001.5, 2450002.5}));  // by ID
    ExpectInStep(t.table);
    EXPECT_EQ(t.table.DeleteByIds({1, 2, 99}), 2);
    ExpectInStep(t.table);
}

TEST(PlotColumns, AreReadFromAnExistingFileAndFromAFreshCopyAfterAnUnload) {
    test::TempTable t;
    const std::string path = t.dir.file("Sabrix97.db");
    std::filesystem::copy_file(t.dir.file("Template97.db"), path);
    {
        test::TempTable loaded;
        Load(loaded, Settings{});
        std::filesystem::copy_file(loaded.table.path(), path,
                                   std::filesystem::copy_options::overwrite_existing);
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

}  // namespace
}  // namespace sabrix
