// A table filled behind its plotted columns, on a thread of the table's own: the rows of a
// one-pass import, and every way a fill ends (done, refused by the database, rows that differ
// from the columns, cancelled, the table destroyed).
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/FileSystem.h"
#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "data/StarFileImport.h"
#include "support/FileSizeLimit.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

using State = ObsTable::FillStatus::State;

std::vector<std::tuple<double, float, int32_t>> Plotted(const ObsTable& table) {
    std::vector<std::tuple<double, float, int32_t>> points;
    table.ForEachPointInWindow(-1e9, 1e9, false, [&](const PlotPoint& p) {
        points.emplace_back(p.JD, p.Mag, p.PunktFarb);
    });
    return points;
}

ObsRow Row(double jd, double mag) {
    ObsRow row;
    row.Star = "R LEO";
    row.JD = jd;
    row.Mag = mag;
    return row;
}

ObsPoint PointOf(int64_t id, const ObsRow& row) {
    return ObsPoint{row.JD,           id,     static_cast<float>(row.Mag), row.PunktFarb,
                    row.Faint == "<", row.Mag};
}

// Gives the rows, then ends.
ObsTable::RowSource Rows(std::vector<ObsRow> rows) {
    return [rows](const std::function<void(ObsRow&)>& add) {
        for (ObsRow row : rows) add(row);
    };
}

TEST(TableFill, RowsWrittenBehindTheColumnsAreThoseOfAOnePassImport) {
    for (const char* name : {"download-ccd.txt", "download-mixed.txt"}) {
        SCOPED_TRACE(name);
        const std::string file = test::SampleFile(name);
        test::TempTable once;
        test::TempTable behind;
        const Settings colors = DefaultSettings(once.dir.path());
        ASSERT_EQ(
            ImportStarFileRows(file, once.dir.file("Errors.txt"), once.table, colors, {}).outcome,
            ImportResult::Outcome::Loaded);

        behind.table.StartFill(StarFileRowSource(file, colors));
        StarFileScan scan = ScanStarFile(file, behind.dir.file("Errors.txt"), colors, {});
        ASSERT_EQ(scan.result.outcome, ImportResult::Outcome::Loaded);
        behind.table.AdoptPlotColumns(std::move(scan.points));
        // The plot reads the columns whether or not the rows are in yet.
        EXPECT_EQ(Plotted(behind.table), Plotted(once.table));

        const ObsTable::FillStatus status = behind.table.WaitForFill();
        EXPECT_EQ(status.state, State::Done);
        EXPECT_EQ(status.rowsWritten, once.table.Count());
        EXPECT_FALSE(behind.table.Filling());
        EXPECT_EQ(behind.Rows(), once.Rows());
        EXPECT_EQ(Plotted(behind.table), Plotted(once.table));
        EXPECT_EQ(test::ReadFileBytes(behind.dir.file("Errors.txt")),
                  test::ReadFileBytes(once.dir.file("Errors.txt")));
    }
}

TEST(TableFill, FillThatCannotEndWithTheColumnsRowsLeavesTableAndColumnsEmpty) {
    const std::vector<ObsRow> rows = {Row(2450001.5, 9.1), Row(2450002.5, 9.4),
                                      Row(2450003.5, 9.7)};
    std::vector<ObsPoint> columns;
    for (size_t i = 0; i < rows.size(); ++i) columns.push_back(PointOf(int64_t(i) + 1, rows[i]));
    std::vector<ObsPoint> changedMag = columns;
    changedMag[1].MagStored = 9.5;
    std::vector<ObsPoint> oneMore = columns;
    oneMore.push_back(PointOf(4, Row(2450004.5, 8.0)));
    struct Case {
        const char* name;
        std::vector<ObsPoint> columns;
        const char* refuseJD;  // a row the database refuses, or none
        std::string failedJD;
        std::string description;
    };
    const std::vector<Case> cases = {
        {"a row refused", columns, "2450002.5", "2450002.5", "Data type conversion error."},
        {"a magnitude changed", changedMag, nullptr, "", "The file changed while it was loaded."},
        {"a row missing", oneMore, nullptr, "", "The file changed while it was loaded."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempTable t;
        if (c.refuseJD) {
            SQLite::Database db(t.table.path(), SQLite::OPEN_READWRITE);
            db.exec(std::string("CREATE TRIGGER refuse BEFORE INSERT ON Obs WHEN NEW.JD = ") +
                    c.refuseJD + " BEGIN SELECT RAISE(ABORT, 'Data type conversion error.'); END");
        }
        t.table.StartFill(Rows(rows));
        t.table.AdoptPlotColumns(c.columns);
        const ObsTable::FillStatus status = t.table.WaitForFill();
        EXPECT_EQ(status.state, State::Failed);
        EXPECT_EQ(status.failedJD, c.failedJD);
        EXPECT_EQ(status.description, c.description);
        EXPECT_EQ(t.table.PollFill().state, State::Idle);
        EXPECT_EQ(t.table.Count(), 0);
        EXPECT_FALSE(t.table.Extremes());
    }
}

// With the user's file-size limit reached the load said "Check source file. disk I/O error",
// blaming the star file for what the database's file could not take.
TEST(TableFill, FillThatTheDatabaseFileCannotTakeNamesThatFile) {
    test::TempTable t;
    std::vector<ObsRow> rows;
    std::vector<ObsPoint> columns;
    for (int i = 0; i < 20000; ++i) {
        rows.push_back(Row(2450000.5 + i, 9 + i % 7 * 0.1));
        rows.back().Comments = std::string(100, 'c');
        columns.push_back(PointOf(i + 1, rows.back()));
    }
    ObsTable::FillStatus status;
    {
        test::FileSizeLimit full(std::filesystem::file_size(t.table.path()) + 4096);
        t.table.StartFill(Rows(rows));
        t.table.AdoptPlotColumns(columns);
        status = t.table.WaitForFill();
    }
    EXPECT_EQ(status.state, State::Failed);
    EXPECT_EQ(status.description.rfind("Cannot write " + t.table.path() + ": ", 0), 0u)
        << status.description;
    EXPECT_EQ(t.table.Count(), 0);
}

TEST(TableFill, RunningFillRefusesSqlAndStopsMidwayWhenCancelledOrWhenItsTableGoes) {
    test::TempTable t;
    std::atomic<int64_t> added{0};
    // Rows without end: only a cancel stops this fill.
    const ObsTable::RowSource endless = [&added](const std::function<void(ObsRow&)>& add) {
        ObsRow row = Row(2450000.5, 9.0);
        for (;;) {
            add(row);
            added.fetch_add(1);
        }
    };
    const auto waitForRows = [&added] {
        while (added.load() < 100) std::this_thread::yield();
    };

    t.table.StartFill(endless);
    waitForRows();
    EXPECT_TRUE(t.table.Filling());
    EXPECT_THROW(t.table.Count(), SabrixError);
    EXPECT_THROW(t.table.StartFill(endless), SabrixError);
    EXPECT_EQ(t.table.PollFill().state, State::Running);
    t.table.CancelFill();
    EXPECT_FALSE(t.table.Filling());
    EXPECT_EQ(t.table.Count(), 0);

    // The end of the run during a fill: the thread stops and rolls back with its table, and
    // the file can go.
    const std::string path = t.dir.file("Sabrix97.db");
    test::WriteFileBytes(path, test::ReadFileBytes(t.table.path()));
    added = 0;
    auto table = std::make_unique<ObsTable>(path);
    table->StartFill(endless);
    waitForRows();
    table.reset();
    EXPECT_EQ(ObsTable(path).Count(), 0);
    DeleteDatabaseFiles(path);
    EXPECT_FALSE(FileExists(path));
}

TEST(TableFill, ColumnsWithoutAFillServeThePlotAndRefuseEverySql) {
    test::TempTable t;
    const ObsRow row = Row(2450001.5, 9.1);
    t.table.AdoptPlotColumns({PointOf(1, row)});
    EXPECT_EQ(Plotted(t.table).size(), 1u);
    EXPECT_EQ(t.table.Extremes()->JDFirst, 2450001.5);
    EXPECT_FALSE(t.table.Filling());
    EXPECT_THROW(t.table.Count(), SabrixError);
    EXPECT_THROW(t.table.RowById(1), SabrixError);
}

}  // namespace
}  // namespace sabrix
