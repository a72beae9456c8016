// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ThreeColumnFile.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "core/AtomicFile.h"
#include "core/LineReader.h"
#include "core/NumberText.h"
#include "data/TextFields.h"

namespace sabrix {

std::string CollapseBlanks(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out.push_back(c);
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

namespace {

// The text of a line as a message quotes it: a control byte (a NUL among them) would end the
// message early or reach the terminal raw, so it shows as "?".
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text)
        out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c);
    return out + "\"";
}

// A value whose own text would not load again is refused at once, not at the next load of a
// saved file.
void ReadNumber(std::string_view field, const char* name, double& value) {
    if (!ParseNumber(field, value))
        throw SabrixError(std::string(name) + " " + Quoted(field) + " is not a number.");
    if (!FormatDoubleReadsBack(value))
        throw SabrixError(std::string(name) + " " + Quoted(field) +
                          " is too large to be saved again.");
}

}  // namespace

std::optional<ThreeColumnRecord> ParseThreeColumnLine(std::string_view line) {
    ThreeColumnRecord record;
    std::string text;
    text.reserve(line.size());
    for (char c : line) {
        if (c == '<') {
            record.Faint = "<";
            continue;
        }
        text.push_back(c == '\t' || c == ',' ? ' ' : c);
    }
    text = CollapseBlanks(std::move(text));
    if (text.empty()) return std::nullopt;

    std::vector<std::string_view> fields;
    std::string_view rest(text);
    for (;;) {
        const auto blank = rest.find(' ');
        fields.push_back(rest.substr(0, blank));
        if (blank == std::string_view::npos) break;
        rest.remove_prefix(blank + 1);
    }
    if (fields.size() < 2)
        throw SabrixError(Quoted(text) + " has only one field; JD and magnitude are needed.");
    ReadNumber(fields[0], "JD", record.JD);
    ReadNumber(fields[1], "Magnitude", record.Mag);
    if (!(std::abs(record.Mag) <= kLargestMagnitude))
        throw SabrixError("Magnitude " + Quoted(fields[1]) + " is beyond any magnitude.");
    if (fields.size() == 3) {
        record.Uncertain = std::string(fields[2]);
        double error = 0;
        if (ParseNumber(fields[2], error)) record.Error = error;
    }
    return record;
}

std::optional<int64_t> XYZLoadRows(const std::string& path, ObsTable& table,
                                   const std::string& starName, int32_t color,
                                   const XYZLoadCallbacks& callbacks) {
    LineReader reader;
    if (!reader.open(path)) {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) throw ThreeColumnFileNotFoundError(path);
        throw SabrixError("File " + path + " cannot be read: " + reader.error() + ".");
    }
    const long long lineCount = CountFileLines(path);
    if (lineCount < 0) throw SabrixError("File " + path + " cannot be read.");
    if (callbacks.counted) callbacks.counted(static_cast<int32_t>(lineCount));

    ObsTable::BulkInserter inserter(table);
    ObsRow row;
    row.Star = starName;
    row.PunktFarb = color;
    std::string_view line;
    long long lineNumber = 0;
    long long firstEmptyLine = 0;
    while (reader.next(line)) {
        ++lineNumber;
        if (callbacks.beforeLine) callbacks.beforeLine(inserter.added());
        // The inserter rolls back what it stored when it goes unfinished.
        if (callbacks.cancelled && callbacks.cancelled()) return std::nullopt;
        if (reader.lineCut())
            throw SabrixError("Line " + std::to_string(lineNumber) + " is longer than " +
                              std::to_string(kLongestLine) + " bytes.");
        std::optional<ThreeColumnRecord> record;
        try {
            record = ParseThreeColumnLine(line);
        } catch (const SabrixError& e) {
            throw SabrixError("Line " + std::to_string(lineNumber) + ": " + e.what());
        }
        if (!record) {
            // Only a record after it makes an empty line a fault: trailing empty lines are a
            // common end of hand-made files.
            if (firstEmptyLine == 0) firstEmptyLine = lineNumber;
            continue;
        }
        if (firstEmptyLine != 0)
            throw SabrixError("Line " + std::to_string(firstEmptyLine) + " is empty.");
        row.JD = record->JD;
        row.Mag = record->Mag;
        row.Faint = record->Faint;
        row.Uncertain = record->Uncertain;
        row.Error = record->Error;
        inserter.add(row);
    }
    inserter.commit();
    return inserter.added();
}

std::optional<std::string> ThreeColumnStarName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find('.');
    if (dot == std::string::npos) return std::nullopt;
    return name.substr(0, dot);
}

std::string ThreeColumnLine(const ObsRow& row) {
    std::string jdText = FormatDouble(row.JD);
    if (jdText.size() <= 12) jdText = LeftJustify(jdText, 12);
    std::string magText = FormatDouble(row.Mag);
    if (TrimBlanks(row.Faint) == "<") magText.insert(0, 1, '<');
    // A text that fills the column gets a blank in front instead of being cut: cutting would
    // lose digits and a full column could run into a twelve-character JD.
    std::string line = jdText;
    line += magText.size() < 10 ? RightJustify(magText, 10) : " " + magText;
    line += "  ";
    if (row.Error != 0) line += LeftJustify(FormatFixed(row.Error, 1, 4), 8);
    return line;
}

std::string ThreeColumnFileText(const ObsTable& table, const std::function<void()>& tick) {
    std::string text;
    bool any = false;
    table.ForEachExportRowById([&](const ObsRow& row) {
        if (tick) tick();
        text += ThreeColumnLine(row);
        text += "\r\n";
        any = true;
    });
    if (!any) throw SabrixError("No current record.");
    return text;
}

void WriteThreeColumnFile(QIODevice& out, const ObsTable& table) {
    WriteAllBytes(out, ThreeColumnFileText(table));
}

}  // namespace sabrix
