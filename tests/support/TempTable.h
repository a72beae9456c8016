// A working table in a fresh temporary program folder: rows go in through one bulk insert and
// come back in ID order.
#pragma once

#include <vector>

#include "data/ObsTable.h"
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
};

}  // namespace sabrix::test
