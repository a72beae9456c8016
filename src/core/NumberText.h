// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers to text, independent of the user's locale ("." is always the decimal point).
#pragma once

#include <string>

namespace sabrix {

// The shortest decimal text that gives the value back, with at most 15 significant digits;
// no exponent, no trailing zeros, no point for a whole number. 2454123.5 -> "2454123.5",
// 9.0 -> "9", -0.25 -> "-0.25", 1e-7 -> "0.0000001".
std::string FormatDouble(double value);
// True when FormatDouble(value) reads back through ParseNumber. False only for values so
// near the largest double that their 15-digit text overflows: 1.7976931348623157e308 is
// written as 179769313486232 followed by 294 zeros, which is beyond every double.
bool FormatDoubleReadsBack(double value);
// The shortest plain decimal text (no exponent) that ParseNumber reads back to exactly this
// value, however many digits that takes: what a file meant to be loaded again holds.
// 2457845.4750512345 -> "2457845.4750512345", 0.1 + 0.2 -> "0.30000000000000004", 9.0 -> "9".
// "NaN", "Infinity" and "-Infinity" for values that are no number.
std::string FormatDoubleExactly(double value);
// The same for a single-precision value, with at most 7 significant digits. 9.1f -> "9.1".
std::string FormatSingle(float value);

// Rounds to the given number of decimals; a value exactly halfway (in binary) goes to the
// even neighbour. RoundHalfEven(0.125, 2) == 0.12, RoundHalfEven(2.5, 0) == 2.
double RoundHalfEven(double value, int decimals);

// Fixed formats. FormatFixed(2454123.51234, 7, 4) -> "2454123.5123" ("0000000.0000");
// FormatFixed(0.012, 1, 4) -> "0.0120" ("0.0000"). The integer part is padded with zeros to
// minIntegerDigits. Rounds half to even on the stored value.
std::string FormatFixed(double value, int minIntegerDigits, int decimals);
// "#0.0#": one to two decimals. 1.0 -> "1.0", 1.25 -> "1.25", 1.257 -> "1.26".
std::string FormatOneOrTwoDecimals(double value);

// Parses a number text the way the table takes it: blanks around it are ignored; the rest
// must be a whole decimal number (sign, digits, optional point and fraction, optional
// exponent). Returns false for anything else ("8.3:", "<", "", "abc").
bool ParseNumber(std::string_view text, double& value);

}  // namespace sabrix
