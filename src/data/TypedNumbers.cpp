// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/TypedNumbers.h"

#include <algorithm>

#include "core/NumberText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

namespace {

// Digits with at most one point among or around them, after an optional "-".
bool PlainDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

void TypedNumbers::Remember(int64_t id, Field field, std::string_view text) {
    const std::string trimmed(TrimBlanks(text));
    double value = 0;
    if (!PlainDecimal(trimmed) || !ParseNumber(trimmed, value)) return;
    Texts& texts = texts_[id];
    std::vector<std::string>& typed = field == Field::JD ? texts.jd : texts.mag;
    std::erase(typed, trimmed);
    typed.push_back(trimmed);
}

std::optional<std::string_view> TypedNumbers::TextOf(int64_t id, Field field, double value) const {
    const auto found = texts_.find(id);
    if (found == texts_.end()) return std::nullopt;
    const std::vector<std::string>& typed =
        field == Field::JD ? found->second.jd : found->second.mag;
    for (auto text = typed.rbegin(); text != typed.rend(); ++text) {
        double read = 0;
        if (ParseNumber(*text, read) && read == value) return *text;
    }
    return std::nullopt;
}

}  // namespace sabrix
