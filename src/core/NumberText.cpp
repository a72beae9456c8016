// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace sabrix {

namespace {

// Turns scientific text "-d.ddde±x" into plain decimal text without exponent and without
// trailing zeros.
std::string PlainFromScientific(std::string_view sci) {
    bool negative = false;
    if (!sci.empty() && sci.front() == '-') {
        negative = true;
        sci.remove_prefix(1);
    }
    const auto e = sci.find('e');
    std::string_view mantissa = sci.substr(0, e);
    int exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view expText = sci.substr(e + 1);
        if (!expText.empty() && expText.front() == '+') expText.remove_prefix(1);
        std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    }
    std::string digits;
    digits.reserve(mantissa.size());
    for (char c : mantissa)
        if (c != '.') digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";
    // The point stands after the first digit; move it by the exponent.
    const int pointPos = 1 + exponent;
    std::string out;
    if (negative) out.push_back('-');
    if (pointPos <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-pointPos), '0');
        out += digits;
    } else if (static_cast<size_t>(pointPos) >= digits.size()) {
        out += digits;
        out.append(static_cast<size_t>(pointPos) - digits.size(), '0');
    } else {
        out.append(digits, 0, static_cast<size_t>(pointPos));
        out.push_back('.');
        out.append(digits, static_cast<size_t>(pointPos));
    }
    return out;
}

template <typename T>
std::string FormatShortest(T value, int maxDigits) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string_view sci(buf, static_cast<size_t>(r.ptr - buf));
    const auto e = sci.find('e');
    int significant = 0;
    for (size_t i = 0; i < e; ++i)
        if (sci[i] >= '0' && sci[i] <= '9') ++significant;
    if (significant > maxDigits) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                          maxDigits - 1);
        sci = std::string_view(buf, static_cast<size_t>(r.ptr - buf));
    }
    return PlainFromScientific(sci);
}

// The shortest text that reads back as value, in plain decimals, when it has at most 15
// significant digits (nearly every date and magnitude); nothing otherwise. It has the digits
// of the shortest scientific text, placed without an exponent.
std::optional<std::string> ShortPlainText(double value) {
    if (!std::isfinite(value) || value == 0) return std::nullopt;
    char buf[400];  // the longest fixed text of a double has about 330 characters
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc()) return std::nullopt;
    int first = -1;
    int last = -1;
    int digit = 0;
    for (const char* p = buf; p != r.ptr; ++p) {
        if (*p < '0' || *p > '9') continue;
        if (*p != '0') {
            if (first < 0) first = digit;
            last = digit;
        }
        ++digit;
    }
    if (last - first + 1 > 15) return std::nullopt;
    return std::string(buf, r.ptr);
}

}  // namespace

std::string FormatDouble(double value) {
    if (std::optional<std::string> text = ShortPlainText(value)) return *std::move(text);
    return FormatShortest(value, 15);
}

std::string FormatDoubleExactly(double value) {
    if (!std::isfinite(value)) return FormatDouble(value);
    // The longest plain text of a double, the smallest subnormal, is 327 characters.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

bool FormatDoubleReadsBack(double value) {
    // Far below the top of the range 15 digits can never round past it.
    if (std::abs(value) < 1e308) return true;
    double back = 0;
    return ParseNumber(FormatDouble(value), back);
}

std::string FormatSingle(float value) {
    return FormatShortest(value, 7);
}

namespace {

// The exact binary value rounded to nearest, ties to even, in plain decimals with the given
// number of decimals; "." whatever the locale.
std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return FormatDouble(value);
    // The largest double has 309 integer digits.
    char buf[400 + 64];
    decimals = std::clamp(decimals, 0, 64);
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

}  // namespace

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const std::string text = FixedText(value, decimals);
    double rounded = value;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string FormatFixed(double value, int minIntegerDigits, int decimals) {
    std::string text = FixedText(value, decimals);
    const bool negative = !text.empty() && text.front() == '-';
    std::string body = negative ? text.substr(1) : text;
    auto point = body.find('.');
    size_t intDigits = point == std::string::npos ? body.size() : point;
    if (static_cast<int>(intDigits) < minIntegerDigits)
        body.insert(0, static_cast<size_t>(minIntegerDigits) - intDigits, '0');
    return negative ? "-" + body : body;
}

std::string FormatOneOrTwoDecimals(double value) {
    std::string text = FormatFixed(value, 1, 2);
    if (text.size() >= 2 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
    return text;
}

bool ParseNumber(std::string_view text, double& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return false;
    // Only plain decimal forms: from_chars would also take "inf" and "nan".
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E')) return false;
    const auto r =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

}  // namespace sabrix
