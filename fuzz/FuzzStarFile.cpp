// Fuzzes the star-file import: any bytes, loaded as a star file, must end in one of the
// import's outcomes with the table consistent with it (a failed import adds no row), and every
// data line must either be written back as a record line of the star file or be refused with
// "Cannot format Number".
#include "FuzzWorkspace.h"
#include "core/LineReader.h"
#include "data/CsvLine.h"
#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"

using namespace sabrix;

namespace {

// Rows pile up across runs; a fresh table now and then keeps each run cheap.
constexpr int64_t kMostRows = 1000;

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
    static std::unique_ptr<ObsTable> table = w.emptyTable("Obs.db");
    const int64_t before = table->Count();
    if (before > kMostRows) table = w.emptyTable("Obs.db");
    const int64_t start = before > kMostRows ? 0 : before;
    const std::string star = w.writeInput("star.txt", data, size);
    const ImportResult r =
        ImportStarFileRows(star, w.file("Errors.txt"), *table, Colors(), ImportCallbacks{});
    (void)ImportMessageFor(r);
    if (r.outcome != ImportResult::Outcome::Loaded) {
        if (table->Count() != start) fuzz::Finding("a failed import left rows behind");
        return 0;
    }
    if (r.stored <= 0 || table->Count() != start + r.stored) fuzz::Finding("row count differs");
    if (r.recordCount < r.stored + 20) fuzz::Finding("record count below the stored rows");
    WriteBackEveryDataLine(star);
    return 0;
}
