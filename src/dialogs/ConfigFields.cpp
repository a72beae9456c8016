// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ConfigFields.h"

#include "core/TrimBlanks.h"

namespace sabrix {

std::optional<int16_t> ParseWholeNumber16(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulating in a wide type and stopping early keeps a long run of digits from
    // overflowing before the range check sees it.
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<int16_t>(value);
}

std::optional<int16_t> ParseDefaultDegree(std::string_view text) {
    const auto value = ParseWholeNumber16(text);
    if (!value || *value < 0 || *value > kLargestDefaultDegree) return std::nullopt;
    return value;
}

std::optional<int16_t> ParseDefaultSigma(std::string_view text) {
    return ParseWholeNumber16(text);
}

bool NamesAFolder(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") != std::string_view::npos;
}

}  // namespace sabrix
