// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MinimaFile.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "core/AtomicFile.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"

namespace sabrix {

namespace {

constexpr std::string_view kHeader = "time,error,method,n,extremum,omitted";

std::vector<std::string_view> SplitCommas(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t from = 0;
    for (;;) {
        const size_t comma = line.find(',', from);
        fields.push_back(line.substr(from, comma - from));
        if (comma == std::string_view::npos) return fields;
        from = comma + 1;
    }
}

template <typename T>
bool ReadNumber(std::string_view text, T& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

std::optional<ListedExtremum> ReadEntry(std::string_view line) {
    const std::vector<std::string_view> f = SplitCommas(line);
    if (f.size() != 6) return std::nullopt;
    ListedExtremum entry;
    TimeOfExtremum& v = entry.value;
    const std::optional<ExtremumMethod> method = ExtremumMethodFromName(f[2]);
    if (!ReadNumber(f[0], v.time) || !std::isfinite(v.time) || !ReadNumber(f[1], v.error) ||
        !(v.error >= 0) || !std::isfinite(v.error) || !method || !ReadNumber(f[3], v.count) ||
        v.count < 0 || (f[4] != "min" && f[4] != "max") || (f[5] != "0" && f[5] != "1"))
        return std::nullopt;
    v.method = *method;
    v.kind = f[4] == "min" ? Extremum::Minimum : Extremum::Maximum;
    entry.omitted = f[5] == "1";
    return entry;
}

}  // namespace

std::string MinimaListPath(const std::string& starFile) {
    std::filesystem::path path(starFile);
    path.replace_extension();
    return path.string() + ".minima.csv";
}

void WriteMinimaList(const std::vector<ListedExtremum>& list, QIODevice& out) {
    std::string text(kHeader);
    text += "\r\n";
    for (const ListedExtremum& entry : list) {
        const TimeOfExtremum& v = entry.value;
        text += FormatDoubleExactly(v.time) + ',' + FormatDoubleExactly(v.error) + ',' +
                ExtremumMethodName(v.method) + ',' + std::to_string(v.count) + ',' +
                (v.kind == Extremum::Minimum ? "min" : "max") + ',' + (entry.omitted ? "1" : "0") +
                "\r\n";
    }
    WriteAllBytes(out, text);
}

MinimaListOutcome ReadMinimaList(std::string_view text) {
    MinimaListOutcome outcome;
    int number = 0;
    bool header = false;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty()) continue;
        if (!header) {
            header = true;
            if (line == kHeader) continue;
        }
        std::optional<ListedExtremum> entry = ReadEntry(line);
        if (!entry) {
            outcome.list.clear();
            outcome.refusal = QStringLiteral(
                                  "Line %1: expected \"time,error,method,n,extremum,"
                                  "omitted\" with numbers, KvW or parabola, min or max, "
                                  "0 or 1.")
                                  .arg(number);
            return outcome;
        }
        outcome.list.push_back(*entry);
    }
    return outcome;
}

MinimaListOutcome LoadMinimaList(const std::string& starFile) {
    const std::string path = MinimaListPath(starFile);
    QFile file(QString::fromStdString(path));
    if (!file.exists()) return {};
    MinimaListOutcome outcome;
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.refusal = QStringLiteral("Cannot read %1: %2")
                              .arg(QString::fromStdString(path), file.errorString());
        return outcome;
    }
    const QByteArray bytes = file.readAll();
    return ReadMinimaList(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void SaveMinimaList(const std::string& starFile, const std::vector<ListedExtremum>& list) {
    const std::string path = MinimaListPath(starFile);
    if (list.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return;
    }
    WriteFileAtomically(path, [&](QIODevice& out) { WriteMinimaList(list, out); });
}

}  // namespace sabrix
