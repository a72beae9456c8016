// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/TextFields.h"

namespace sabrix {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// True when the bytes form valid UTF-8 (overlong forms and surrogates are not checked: the
// question is only whether a cut could land inside a character).
bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC2)
            length = 2;
        else if (lead >= 0x80)
            return false;
        if (lead > 0xF4 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if (!IsContinuationByte(text[i + k])) return false;
        i += length;
    }
    return true;
}

// How many leading bytes of a text longer than width fit: width, or fewer when the cut would
// split a character of a UTF-8 text (a Latin-1 text is cut anywhere).
size_t KeptBytes(const std::string& text, size_t width) {
    if (!IsContinuationByte(text[width]) || !IsUtf8(text)) return width;
    size_t kept = width;
    while (kept > 0 && IsContinuationByte(text[kept])) --kept;
    return kept;
}

}  // namespace

void AppendLeftJustified(std::string& out, const std::string& text, int width) {
    if (width <= 0) return;
    const auto w = static_cast<size_t>(width);
    const size_t kept = text.size() <= w ? text.size() : KeptBytes(text, w);
    out.append(text, 0, kept);
    out.append(w - kept, ' ');
}

std::string LeftJustify(const std::string& text, int width) {
    std::string out;
    AppendLeftJustified(out, text, width);
    return out;
}

void AppendRightJustified(std::string& out, const std::string& text, int width) {
    if (width <= 0) return;
    const auto w = static_cast<size_t>(width);
    // A text that does not fit keeps its start: the layouts rely on the leading digits.
    const size_t kept = text.size() <= w ? text.size() : KeptBytes(text, w);
    out.append(w - kept, ' ');
    out.append(text, 0, kept);
}

std::string RightJustify(const std::string& text, int width) {
    std::string out;
    AppendRightJustified(out, text, width);
    return out;
}

int CountDecimals(const std::string& text) {
    const auto point = text.find('.');
    if (point == std::string::npos) return 0;
    return static_cast<int>(text.size() - point - 1);
}

void AppendFormatNum(std::string& out, std::string_view text, int width) {
    const auto point = text.find('.');
    if (point == std::string_view::npos) throw FormatNumError();
    const auto secondPoint = text.find('.', point + 1);
    const std::string_view integerPart = TrimBlanks(text.substr(0, point));
    // Anything after a second "." is ignored, as a split of the text would do.
    const std::string_view fraction = TrimBlanks(
        text.substr(point + 1, secondPoint == std::string_view::npos ? std::string_view::npos
                                                                     : secondPoint - point - 1));
    const size_t lead = integerPart.size() == 1 ? 1 : 0;
    const size_t size = lead + integerPart.size() + 1 + fraction.size();
    if (width < 0 || size > static_cast<size_t>(width)) throw FormatNumError();
    out.append(lead, ' ');
    out.append(integerPart);
    out.push_back('.');
    out.append(fraction);
    out.append(static_cast<size_t>(width) - size, ' ');
}

std::string FormatNum(const std::string& text, int width) {
    std::string out;
    AppendFormatNum(out, text, width);
    return out;
}

}  // namespace sabrix
