// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FileKindGuess.h"

#include "core/LineReader.h"
#include "core/NumberText.h"

namespace sabrix {

namespace {

constexpr int kLinesLookedAt = 20;

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

bool EndsInDat(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string::npos
                                      ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
    if (name.size() < 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'd' && (tail[2] | 0x20) == 'a' &&
           (tail[3] | 0x20) == 't';
}

bool IsBlank(std::string_view line) {
    for (char c : line)
        if (!IsSeparator(c)) return false;
    return true;
}

}  // namespace

bool HoldsTwoOrThreeNumbers(std::string_view line) {
    int fields = 0;
    size_t i = 0;
    while (i < line.size()) {
        if (IsSeparator(line[i])) {
            ++i;
            continue;
        }
        std::string field;
        for (; i < line.size() && !IsSeparator(line[i]); ++i)
            if (line[i] != '<') field.push_back(line[i]);
        if (field.empty()) continue;  // a "<" standing alone marks the next field
        double number = 0;
        if (++fields > 3 || !ParseNumber(field, number)) return false;
    }
    return fields >= 2;
}

ObservationFileKind GuessObservationFileKind(const std::string& path) {
    if (EndsInDat(path)) return ObservationFileKind::ThreeColumnFile;
    LineReader reader;
    if (!reader.open(path)) return ObservationFileKind::StarFile;
    std::string_view line;
    int looked = 0;
    while (looked < kLinesLookedAt && reader.next(line)) {
        if (IsBlank(line)) continue;
        if (reader.lineCut() || !HoldsTwoOrThreeNumbers(line)) return ObservationFileKind::StarFile;
        ++looked;
    }
    return looked > 0 ? ObservationFileKind::ThreeColumnFile : ObservationFileKind::StarFile;
}

}  // namespace sabrix
