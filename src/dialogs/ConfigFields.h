// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the fields of the configuration dialog and its folder browser: the data folder,
// the default polynomial degree and the default sigma of the scatter bars (both kept as
// 16-bit integers).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sabrix {

// The largest degree a polynomial fit can take.
constexpr int kLargestDefaultDegree = 40;

// A whole decimal number (optional sign, digits only, blanks around it allowed) in the
// 16-bit range. Returns nothing for an empty text, a fraction, any other character, or a
// value outside -32768 to 32767.
std::optional<int16_t> ParseWholeNumber16(std::string_view text);

// The default degree: a whole number from 0 to 40. Returns nothing otherwise.
std::optional<int16_t> ParseDefaultDegree(std::string_view text);

// The default sigma: any whole number of the 16-bit range. Returns nothing otherwise.
std::optional<int16_t> ParseDefaultSigma(std::string_view text);

// Whether a typed data folder names a folder at all: false for an empty text or one of
// blanks, tabs and line ends only, which the dialogs refuse before offering to create it.
bool NamesAFolder(std::string_view text);

}  // namespace sabrix
