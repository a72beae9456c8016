// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the three-column reader and writer: any bytes either fail to load with a description
// and add no row, or load every line. Every line the reader takes is written by the writer,
// and what it writes must be read again to the same values and written again to the same text.
#include "FuzzWorkspace.h"
#include "core/LineReader.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/ThreeColumnFile.h"

using namespace sabrix;

namespace {

constexpr int64_t kMostRows = 1000;

ObsRow RowOf(const ThreeColumnRecord& record) {
    ObsRow row;
    row.JD = record.JD;
    row.Mag = record.Mag;
    row.Faint = record.Faint;
    row.Uncertain = record.Uncertain;
    row.Error = record.Error;
    return row;
}

void WriteAndReadBackEveryLine(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) fuzz::Finding("the input cannot be read again");
    std::string_view line;
    while (reader.next(line)) {
        std::optional<ThreeColumnRecord> record;
        try {
            record = ParseThreeColumnLine(line);
        } catch (const SabrixError&) {
            continue;
        }
        if (!record) continue;
        const std::string written = ThreeColumnLine(RowOf(*record));
        std::optional<ThreeColumnRecord> again;
        try {
            again = ParseThreeColumnLine(written);
        } catch (const SabrixError&) {
            fuzz::Finding("a written line does not read again");
        }
        if (!again) fuzz::Finding("a written line reads as empty");
        if (FormatDouble(again->JD) != FormatDouble(record->JD) ||
            FormatDouble(again->Mag) != FormatDouble(record->Mag) || again->Faint != record->Faint)
            fuzz::Finding("a written line reads back to other values");
        const std::string rewritten = ThreeColumnLine(RowOf(*again));
        const auto thirdRecord = ParseThreeColumnLine(rewritten);
        if (!thirdRecord || ThreeColumnLine(RowOf(*thirdRecord)) != rewritten)
            fuzz::Finding("writing a line again changes it");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& w = fuzz::Workspace();
    static std::unique_ptr<ObsTable> table = w.emptyTable("Obs.db");
    if (table->Count() > kMostRows) table = w.emptyTable("Obs.db");
    const int64_t before = table->Count();
    const std::string path = w.writeInput("in.txt", data, size);
    try {
        const int64_t rows = *XYZLoadRows(path, *table, "fuzz", 65280, {});
        if (table->Count() != before + rows) fuzz::Finding("row count differs");
    } catch (const SabrixError&) {
        if (table->Count() != before) fuzz::Finding("a refused load left rows behind");
    }
    WriteAndReadBackEveryLine(path);
    return 0;
}
