// The table keeps the plotted columns in memory; after every kind of write, what the plot
// reads must equal what a fresh query of the database returns.
#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "core/AppState.h"
#include "data/BandColor.h"
#include "data/ObsTable.h"
#include "data/StarFileImport.h"
#include "support/TestEnvironment.h"

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

std::vector<Point> Queried(const ObsTable& table, double a, double b, bool omitFainter) {
    SQLite::Statement q(table.database(),
                        std::string("SELECT JD, Mag, PunktFarb FROM Obs WHERE JD BETWEEN ? AND ?") +
                            (omitFainter ? " AND Faint <> '<'" : "") + " ORDER BY JD, ID");
    q.bind(1, std::min(a, b));
    q.bind(2, std::max(a, b));
    std::vector<Point> points;
    while (q.executeStep())
        points.emplace_back(q.getColumn(0).getDouble(),
                            static_cast<float>(q.getColumn(1).getDouble()), q.getColumn(2).getInt());
    return points;
}

// Compares the plot's view of the table with the database over several windows.
void ExpectInStep(const ObsTable& table) {
    for (bool omit : {false, true}) {
        EXPECT_EQ(Plotted(table, -1e9, 1e9, omit), Queried(table, -1e9, 1e9, omit));
        EXPECT_EQ(Plotted(table, 2450003, 2450001, omit), Queried(table, 2450001, 2450003, omit));
    }
    SQLite::Statement q(table.database(), "SELECT MIN(Mag), MAX(Mag), MIN(JD), MAX(JD), COUNT(*) FROM Obs");
    q.executeStep();
    const auto e = table.Extremes();
    if (q.getColumn(4).getInt() == 0) {
        EXPECT_FALSE(e);
        return;
    }
    ASSERT_TRUE(e);
    EXPECT_EQ(e->MagBrightest, static_cast<float>(q.getColumn(0).getDouble()));
    EXPECT_EQ(e->MagFaintest, static_cast<float>(q.getColumn(1).getDouble()));
    EXPECT_EQ(e->JDFirst, q.getColumn(2).getDouble());
    EXPECT_EQ(e->JDLast, q.getColumn(3).getDouble());
}

const char* const kStar =
    "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
    "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name\r\n"
    "2450003.5,9.1,,,V,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450001.5,<11.0,,,Vis.,XYZ,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.5,,,B,ABC,,,,,,,,,,,,R LEO\r\n"
    "2450002.5,9.4,,,Vis.,XYZ,,,,,,,,,,,,R LEO\r\n"
    "2450004.5,8.0,,,R,QQQ,,,,,,,,,,,,R LEO\r\n";

TEST(PlotColumns, StayInStepWithTheTableThroughEveryKindOfWrite) {
    test::TempProgramDir dir;
    test::WriteFileBytes(dir.file("star.txt"), kStar);
    AppState state;
    state.settings.ColorV = 16744448;
    state.settings.ColorB = 16744448;
    state.settings.ColorR = 255;
    state.settings.ColorVIS = 65280;
    state.settings.ColorFAINT = 9539985;
    ObsTable table(dir.file("Template97.db"));
    ExpectInStep(table);  // empty

    auto import = [&] {
        const ImportResult r = ImportStarFileRows(dir.file("star.txt"), dir.file("Errors.txt"),
                                                  table, state.settings, {});
        ASSERT_EQ(r.outcome, ImportResult::Outcome::Loaded);
    };
    import();
    ExpectInStep(table);
    import();  // a second load into a table that already holds rows merges in JD order
    ExpectInStep(table);

    ASSERT_TRUE(table.DeleteById(3));
    ExpectInStep(table);

    EXPECT_EQ(table.MarkObserver("ABC", 16711935, "1"), 3);
    state.overlay.ObserverMarked = true;
    ExpectInStep(table);

    UnMarkObs(state, table);
    ExpectInStep(table);
    EXPECT_EQ(Plotted(table, 2450003.5, 2450003.5, false),
              (std::vector<Point>{{2450003.5, 9.1f, 16744448}, {2450003.5, 9.1f, 16744448}}));
}

TEST(PlotColumns, AreReadFromAnExistingFileAndFromAFreshCopyAfterAnUnload) {
    test::TempProgramDir dir;
    test::WriteFileBytes(dir.file("star.txt"), kStar);
    const std::string path = dir.file("Sabrix97.db");
    std::filesystem::copy_file(dir.file("Template97.db"), path);
    {
        ObsTable table(path);
        ImportStarFileRows(dir.file("star.txt"), dir.file("Errors.txt"), table, Settings{}, {});
    }
    {
        ObsTable reopened(path);  // the rows were written by an earlier connection
        EXPECT_EQ(Plotted(reopened, -1e9, 1e9, false).size(), 5u);
        ExpectInStep(reopened);
    }
    // Unloading replaces the working database with a fresh copy of the template.
    std::filesystem::remove(path);
    std::filesystem::copy_file(dir.file("Template97.db"), path);
    ObsTable fresh(path);
    EXPECT_TRUE(Plotted(fresh, -1e9, 1e9, false).empty());
    ExpectInStep(fresh);
}

TEST(PlotColumns, ARolledBackInsertLeavesNothingBehind) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    {
        ObsTable::BulkInserter inserter(table);
        ObsRow row;
        row.JD = 2450001;
        row.Mag = 9;
        inserter.add(row);
    }
    ExpectInStep(table);
    EXPECT_TRUE(Plotted(table, -1e9, 1e9, false).empty());
    // The indexes dropped for the load come back with the rollback.
    SQLite::Statement q(table.database(), "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index'");
    q.executeStep();
    EXPECT_EQ(q.getColumn(0).getInt(), 2);
}

}  // namespace
}  // namespace sabrix
