// SPDX-License-Identifier: GPL-3.0-or-later
// The text without the blanks (spaces) at both ends; tabs and other bytes stay.
// "  a b " -> "a b", "   " -> "".
#pragma once

#include <string>
#include <string_view>

namespace sabrix {

inline std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The same for a string, returned as a string of its own (never a view into a temporary).
inline std::string TrimBlanks(const std::string& text) {
    return std::string(TrimBlanks(std::string_view(text)));
}

inline std::string_view TrimBlanks(const char* text) {
    return TrimBlanks(std::string_view(text));
}

}  // namespace sabrix
