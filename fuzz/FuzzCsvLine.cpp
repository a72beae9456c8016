// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the splitter of comma-separated lines: it never fails, a line without double quotes
// gives back exactly its text between the commas, and no field is longer than the line.
#include <string>
#include <string_view>

#include "FuzzWorkspace.h"
#include "data/CsvLine.h"

using namespace sabrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view line(bytes);
    static CsvLine splitter;  // reused, as the import reuses it for every line
    const auto& fields = splitter.split(line);
    if (fields.empty()) fuzz::Finding("no field");
    for (const auto field : fields) {
        if (field.size() > line.size()) fuzz::Finding("field longer than the line");
        const auto trimmed = TrimBlanks(field);
        if (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.back() == ' '))
            fuzz::Finding("trimmed field keeps a blank");
    }
    if (line.find('"') == std::string_view::npos) {
        std::string joined;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) joined += ',';
            joined.append(fields[i]);
        }
        if (joined != bytes) fuzz::Finding("fields do not give the line back");
    }
    return 0;
}
