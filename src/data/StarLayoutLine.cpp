// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/StarLayoutLine.h"

namespace sabrix {

namespace {

constexpr std::string_view kHeaderStart = "Edited data for ";
// ". File created on 03-07-2024 at 09:05:03": the date and time after the name.
constexpr std::string_view kHeaderStamp = ". File created on ##-##-#### at ##:##:##";

constexpr size_t kFieldCount = kStarLayoutDesigField + 1;
constexpr size_t kShortLine = 59;
constexpr size_t kLongLine = 60;

bool Blanks(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

bool MatchesStamp(std::string_view text) {
    if (text.size() != kHeaderStamp.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kHeaderStamp[i] == '#' ? !digit : text[i] != kHeaderStamp[i]) return false;
    }
    return true;
}

}  // namespace

bool ReadStarLayoutHeader(std::string_view line, std::string& starName) {
    if (line.size() < kHeaderStart.size() + kHeaderStamp.size() ||
        line.substr(0, kHeaderStart.size()) != kHeaderStart ||
        !MatchesStamp(line.substr(line.size() - kHeaderStamp.size())))
        return false;
    starName.assign(
        line.substr(kHeaderStart.size(), line.size() - kHeaderStart.size() - kHeaderStamp.size()));
    return true;
}

bool SplitStarLayoutLine(std::string_view line, std::vector<std::string_view>& fields) {
    if (line.size() != kShortLine && line.size() != kLongLine) return false;
    // Where the magnitude block ends and the columns after it start: the point of the
    // magnitude tells the block the writer chose.
    size_t magEnd = 0;
    bool uncertain = true;
    if (line.size() == kLongLine) {
        if (line[43] != '.') return false;
        magEnd = 45;
    } else if (line[42] == '.') {
        magEnd = 46;
        uncertain = false;
    } else {
        magEnd = 44;
    }
    const size_t commentsStart = magEnd + (uncertain ? 1 : 0);
    const size_t commentsEnd = line.size() - 7;
    if (line[8] != ' ' || !Blanks(line.substr(19, 7)) || !Blanks(line.substr(commentsEnd, 2)))
        return false;
    fields.assign(kFieldCount, std::string_view());
    fields[0] = line.substr(26, 13);
    fields[1] = line.substr(39, magEnd - 39);
    if (uncertain) fields[2] = line.substr(magEnd, 1);
    fields[5] = line.substr(commentsEnd + 2);
    fields[10] = line.substr(commentsStart, commentsEnd - commentsStart);
    fields[17] = line.substr(9, 10);
    fields[kStarLayoutDesigField] = line.substr(0, 8);
    return true;
}

}  // namespace sabrix
