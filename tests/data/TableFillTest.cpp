// SPDX-License-Identifier: GPL-3.0-or-later
// A table filled behind its plotted columns, on threads of the fill's own: the rows of a star
// file, and every way a fill ends (done, refused by the database or by the file read again,
// rows that differ from the columns, cancelled, the table destroyed).
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
#include "core/LineReader.h"
#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "data/CsvLine.h"
#include "data/StarFileImport.h"
#include "support/FileSizeLimit.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

using State = ObsTable::FillStatus::State;

std::vector<std::tuple<double, float, int32_t>> Plotted(const ObsTable& table) {
    std::vector<std::tuple<double, float, int32_t>> points;
    table.ForEachPointInWindow(-1e9, 1e9, PointFilter(), [&](const PlotPoint& p) {
        points.emplace_back(p.JD, p.Mag, p.PunktFarb);
    });
    return points;
}

ObsRow Row(double jd, double mag) {
    ObsRow row;
    row.Star = "R LEO";
    row.JD = jd;
    row.Mag = mag;
    row.Band = "V";
    row.Init = "ABC";
    return row;
}

// The rows of these data lines, numbered from 1, in file order.
PlotColumns ColumnsOf(const std::vector<ObsRow>& rows) {
    PlotColumns::Builder columns;
    for (size_t i = 0; i < rows.size(); ++i) columns.Add(rows[i], static_cast<int64_t>(i) + 1);
    return std::move(columns).Build();
}

// Gives the rows, then ends.
ObsTable::RowSource Rows(std::vector<ObsRow> rows) {
    return [rows](TableFill::RowSink& sink) {
        for (const ObsRow& row : rows) sink.add(row);
    };
}

// Polls as the window's timer does, without waiting.
ObsTable::FillStatus PollUntilEnded(ObsTable& table) {
    ObsTable::FillStatus status = table.PollFill();
    while (status.state == State::Running) {
        std::this_thread::yield();
        status = table.PollFill();
    }
    return status;
}

TEST(TableFill, RowsWrittenBehindTheColumnsAreTheRowsOfTheDataLines) {
    for (const auto& [name, rows] :
         {std::pair<const char*, int64_t>{"download-ccd.txt", 340}, {"download-mixed.txt", 4065}}) {
        SCOPED_TRACE(name);
        const std::string file = test::SampleFile(name);
        test::TempTable t;
        const Settings colors = DefaultSettings(t.dir.path());
        std::vector<ObsRow> want;
        LineReader reader;
        ASSERT_TRUE(reader.open(file));
        CsvLine splitter;
        std::string_view line;
        for (bool first = true; reader.next(line); first = false) {
            const auto& fields = splitter.split(line);
            ObsRow row;
            if (ClassifyStarLine(fields, first) != StarLineClass::Data) continue;
            ASSERT_TRUE(FillStarRow(fields, colors, row));
            row.ID = static_cast<int64_t>(want.size()) + 1;
            want.push_back(row);
        }

        ASSERT_EQ(static_cast<int64_t>(want.size()), rows);
        StarFileScan scan = ScanStarFile(file, t.dir.file("Errors.txt"), colors, {});
        ASSERT_EQ(scan.result.outcome, ImportResult::Outcome::Loaded);
        EXPECT_EQ(std::tie(scan.result.stored, scan.result.recordCount),
                  std::make_tuple(rows, rows + 21));
        EXPECT_EQ(test::ReadFileBytes(t.dir.file("Errors.txt")), "");
        t.table.StartFill(std::move(scan.rows), std::move(scan.columns));
        // The plot reads the columns whether or not the rows are in yet.
        const auto plotted = Plotted(t.table);
        EXPECT_EQ(plotted.size(), want.size());
        const ObsTable::FillStatus status = PollUntilEnded(t.table);
        EXPECT_EQ(status.state, State::Done);
        EXPECT_EQ(status.rowsWritten, static_cast<int64_t>(want.size()));
        EXPECT_FALSE(t.table.Filling());
        EXPECT_EQ(t.Rows(), want);
        EXPECT_EQ(Plotted(t.table), plotted);
    }
}

TEST(TableFill, FillThatCannotEndWithTheColumnsRowsLeavesTableAndColumnsEmpty) {
    std::vector<ObsRow> rows;
    for (int i = 0; i < 150; ++i) rows.push_back(Row(2450001.5 + i, 9.0 + i / 1000.0));
    const PlotColumns columns = ColumnsOf(rows);
    std::vector<ObsRow> changedMag = rows;
    changedMag[1].Mag = 9.5;
    std::vector<ObsRow> otherObserver = rows;
    otherObserver[30].Init = "XYZ";
    std::vector<ObsRow> oneMore = rows;
    oneMore.push_back(Row(2450099.5, 8.0));
    struct Case {
        const char* name;
        std::vector<ObsRow> written;
        const char* trigger;  // what the database refuses, or nothing
        std::string failedJD;
        std::string description;
    };
    const std::string changed = "The file changed while it was loaded.";
    const std::vector<Case> cases = {
        {"a row refused (in a statement of many)", rows,
         "BEFORE INSERT ON Obs WHEN NEW.JD = 2450071.5", "2450071.5",
         "Data type conversion error."},
        {"the last row refused (a statement of one)", rows,
         "BEFORE INSERT ON Obs WHEN NEW.JD = 2450150.5", "2450150.5",
         "Data type conversion error."},
        {"a magnitude changed", changedMag, nullptr, "", changed},
        {"an observer changed", otherObserver, nullptr, "", changed},
        {"a row more", oneMore, nullptr, "", changed},
        // The table does not take back rows: the fill must not need to.
        {"a magnitude changed, deletes refused", changedMag, "BEFORE DELETE ON Obs", "", changed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempTable t;
        if (c.trigger) {
            SQLite::Database db(t.table.path(), SQLite::OPEN_READWRITE);
            db.exec(std::string("CREATE TRIGGER refuse ") + c.trigger +
                    " BEGIN SELECT RAISE(ABORT, 'Data type conversion error.'); END");
        }
        t.table.StartFill(Rows(c.written), columns);
        const ObsTable::FillStatus status = PollUntilEnded(t.table);
        EXPECT_EQ(status.state, State::Failed);
        EXPECT_EQ(status.failedJD, c.failedJD);
        EXPECT_EQ(status.description, c.description);
        EXPECT_EQ(t.table.PollFill().state, State::Idle);
        EXPECT_EQ(t.table.Count(), 0);
        EXPECT_FALSE(t.table.Extremes(PointFilter()));
    }
}

// With the user's file-size limit reached the load said "Check source file. disk I/O error",
// blaming the star file for what the database's file could not take.
TEST(TableFill, FillThatTheDatabaseFileCannotTakeNamesThatFile) {
    test::TempTable t;
    std::vector<ObsRow> rows;
    for (int i = 0; i < 20000; ++i) {
        rows.push_back(Row(2450000.5 + i, 9 + i % 7 * 0.1));
        rows.back().Comments = std::string(100, 'c');
    }
    ObsTable::FillStatus status;
    {
        test::FileSizeLimit full(std::filesystem::file_size(t.table.path()) + 4096);
        t.table.StartFill(Rows(rows), ColumnsOf(rows));
        status = t.table.WaitForFill();
    }
    EXPECT_EQ(status.state, State::Failed);
    EXPECT_EQ(status.description.rfind("Cannot write " + t.table.path() + ": ", 0), 0u)
        << status.description;
    EXPECT_EQ(t.table.Count(), 0);
}

TEST(TableFill, LineThatNoLongerHoldsANumberFailsTheFillWithItsJD) {
    test::TempTable t;
    const std::string file = t.dir.file("star.txt");
    const std::string tail = ",,,V,ABC,,,,,,,,,,,,R LEO\r\n";
    test::WriteFileBytes(file, "2450001.5,9.1" + tail + "2450002.5,9.2" + tail);
    const Settings colors = DefaultSettings(t.dir.path());
    StarFileScan scan = ScanStarFile(file, t.dir.file("Errors.txt"), colors, {});
    ASSERT_EQ(scan.result.outcome, ImportResult::Outcome::Loaded);
    // Changed between the two reads.
    test::WriteFileBytes(file, "2450001.5,9.1" + tail + " 2450002.5 ,9.2:" + tail);
    t.table.StartFill(std::move(scan.rows), std::move(scan.columns));
    const ObsTable::FillStatus status = t.table.WaitForFill();
    EXPECT_EQ(status.state, State::Failed);
    EXPECT_EQ(status.failedJD, "2450002.5");
    EXPECT_EQ(status.description, "Data type conversion error.");
    EXPECT_EQ(t.table.Count(), 0);
}

TEST(TableFill, RunningFillRefusesSqlAndStopsWhenCancelledOrWhenItsTableGoes) {
    std::atomic<int64_t> asked{0};
    // Rows without end, and a source that passes over lines without end: only a cancel stops
    // either.
    const ObsTable::RowSource endlessRows = [&asked](TableFill::RowSink& sink) {
        const ObsRow row = Row(2450000.5, 9.0);
        for (;;) {
            sink.add(row);
            asked.fetch_add(1);
        }
    };
    const ObsTable::RowSource endlessSkips = [&asked](TableFill::RowSink& sink) {
        while (!sink.stopped()) asked.fetch_add(1);
    };
    for (const ObsTable::RowSource& endless : {endlessRows, endlessSkips}) {
        test::TempTable t;
        asked = 0;
        const auto waitForWork = [&asked] {
            while (asked.load() < 5000) std::this_thread::yield();
        };
        t.table.StartFill(endless, PlotColumns());
        waitForWork();
        EXPECT_TRUE(t.table.Filling());
        EXPECT_THROW(t.table.Count(), SabrixError);
        EXPECT_THROW(t.table.StartFill(endless, PlotColumns()), SabrixError);
        EXPECT_EQ(t.table.PollFill().state, State::Running);
        t.table.CancelFill();
        EXPECT_FALSE(t.table.Filling());
        EXPECT_EQ(t.table.Count(), 0);

        // The end of the run during a fill: the threads stop and roll back with their table,
        // and the file can go.
        const std::string path = t.dir.file("Sabrix97.db");
        test::WriteFileBytes(path, test::ReadFileBytes(t.table.path()));
        asked = 0;
        auto table = std::make_unique<ObsTable>(path);
        table->StartFill(endless, PlotColumns());
        waitForWork();
        table.reset();
        EXPECT_EQ(ObsTable(path).Count(), 0);
        DeleteDatabaseFiles(path);
        EXPECT_FALSE(FileExists(path));
    }
}

TEST(TableFill, StarFileRowsStopAtTheLineWhereTheFillStopped) {
    test::TempTable t;
    const std::string file = t.dir.file("star.txt");
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += "a line passed over\r\n";
    test::WriteFileBytes(file, bytes + "2450001.5,9.1,,,V,ABC,,,,,,,,,,,,R LEO\r\n");
    struct Sink : TableFill::RowSink {
        mutable int asked = 0;
        int added = 0;
        void add(const ObsRow&) override { ++added; }
        bool stopped() const override { return ++asked >= 10; }
    } sink;
    StarFileScan scan = ScanStarFile(file, t.dir.file("Errors.txt"), Settings{}, {});
    ASSERT_EQ(scan.result.outcome, ImportResult::Outcome::Loaded);
    scan.rows(sink);
    EXPECT_EQ(sink.asked, 10);
    EXPECT_EQ(sink.added, 0);
}

TEST(TableFill, ColumnsWithoutAFillServeThePlotAndRefuseEverySql) {
    test::TempTable t;
    t.table.AdoptPlotColumns(ColumnsOf({Row(2450001.5, 9.1)}));
    EXPECT_EQ(Plotted(t.table).size(), 1u);
    EXPECT_EQ(t.table.Extremes(PointFilter())->JDFirst, 2450001.5);
    EXPECT_FALSE(t.table.Filling());
    EXPECT_EQ(t.table.PollFill().state, State::Idle);
    EXPECT_THROW(t.table.Count(), SabrixError);
    EXPECT_THROW(t.table.RowById(1), SabrixError);
}

}  // namespace
}  // namespace sabrix
