// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the load of a star file as the window runs it: any bytes, read for the plotted columns
// and then filled into an empty table behind them, must end in one of the read's outcomes; a
// file that loads must fill the table with as many rows as its columns hold (the fill checks
// the rows against the columns), and every data line must either be written back as a record
// line of the star file or be refused with "Cannot format Number".
#include "FuzzWorkspace.h"
#include "core/LineReader.h"
#include "data/CsvLine.h"
#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"

using namespace sabrix;

namespace {

Settings Colors() {
    Settings s;
    s.ColorVIS = 1;
    s.ColorFAINT = 2;
    s.ColorDISC = 3;
    s.ColorV = 6;
    return s;
}

void WriteBackEveryDataLine(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) fuzz::Finding("the input cannot be read again");
    CsvLine splitter;
    ObsRow row;
    std::string_view line;
    while (reader.next(line)) {
        if (reader.lineCut()) continue;
        const auto& fields = splitter.split(line);
        if (ClassifyStarLine(fields, false) != StarLineClass::Data) continue;
        if (!FillStarRow(fields, Colors(), row)) continue;
        try {
            if (StarFileRecordLine(row).size() < 59) fuzz::Finding("record line too short");
        } catch (const FormatNumError&) {
            // A magnitude or JD that does not fit the layout: the save refuses it.
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& w = fuzz::Workspace();
    const std::string star = w.writeInput("star.txt", data, size);
    StarFileScan scan = ScanStarFile(star, w.file("Errors.txt"), Colors(), ImportCallbacks{});
    const ImportResult& r = scan.result;
    (void)ImportMessageFor(r);
    if (r.outcome != ImportResult::Outcome::Loaded) {
        if (!scan.columns.empty() || scan.rows) fuzz::Finding("a failed read left columns");
        return 0;
    }
    if (r.stored <= 0 || static_cast<int64_t>(scan.columns.size()) != r.stored)
        fuzz::Finding("column count differs");
    if (r.recordCount < r.stored + 20) fuzz::Finding("record count below the stored rows");
    const std::unique_ptr<ObsTable> table = w.emptyTable("Obs.db");
    table->StartFill(std::move(scan.rows), std::move(scan.columns));
    if (table->WaitForFill().state != ObsTable::FillStatus::State::Done)
        fuzz::Finding("the fill did not end with the rows of the columns");
    if (table->Count() != r.stored) fuzz::Finding("row count differs");
    WriteBackEveryDataLine(star);
    return 0;
}
