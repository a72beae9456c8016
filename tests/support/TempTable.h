// SPDX-License-Identifier: GPL-3.0-or-later
// A working table in a fresh temporary program folder: rows go in through one bulk insert, or
// from a star file as a load brings them (the plotted columns first, the rows filled behind
// them), and come back in ID order.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ObsTable.h"
#include "data/StarFileImport.h"
#include "support/TestEnvironment.h"

namespace sabrix::test {

struct TempTable {
    TempProgramDir dir;
    ObsTable table{dir.file("Template97.db")};

    void Add(const std::vector<ObsRow>& rows) {
        ObsTable::BulkInserter inserter(table);
        for (const ObsRow& r : rows) inserter.add(r);
        inserter.commit();
    }
    std::vector<ObsRow> Rows() const {
        std::vector<ObsRow> rows;
        table.ForEachRowById([&](const ObsRow& r) { rows.push_back(r); });
        return rows;
    }
    // Loads the star file into the empty table as the window does (ScanStarFile, then the
    // fill), the rejected lines going to errors (by default Errors.txt beside the table).
    // Returns the result of the read; a fill that does not end Done fails the test.
    ImportResult LoadStarFile(const std::string& path, const Settings& colors,
                              const ImportCallbacks& callbacks = {}, std::string errors = {}) {
        if (errors.empty()) errors = dir.file("Errors.txt");
        StarFileScan scan = ScanStarFile(path, errors, colors, callbacks);
        if (scan.result.outcome != ImportResult::Outcome::Loaded) return scan.result;
        table.StartFill(std::move(scan.rows), std::move(scan.columns));
        const ObsTable::FillStatus status = table.WaitForFill();
        EXPECT_EQ(status.state, ObsTable::FillStatus::State::Done) << status.description;
        return scan.result;
    }
};

}  // namespace sabrix::test
