#include "data/TextFields.h"

namespace sabrix {

std::string LeftJustify(const std::string& text, int width) {
    if (width <= 0) return {};
    const auto w = static_cast<size_t>(width);
    if (text.size() >= w) return text.substr(0, w);
    return text + std::string(w - text.size(), ' ');
}

std::string RightJustify(const std::string& text, int width) {
    if (width <= 0) return {};
    const auto w = static_cast<size_t>(width);
    // A text that does not fit keeps its start: the layouts rely on the leading digits.
    if (text.size() >= w) return text.substr(0, w);
    return std::string(w - text.size(), ' ') + text;
}

int CountDecimals(const std::string& text) {
    const auto point = text.find('.');
    if (point == std::string::npos) return 0;
    return static_cast<int>(text.size() - point - 1);
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string FormatNum(const std::string& text, int width) {
    const auto point = text.find('.');
    if (point == std::string::npos) throw FormatNumError();
    const auto secondPoint = text.find('.', point + 1);
    const std::string integerPart = TrimBlanks(text.substr(0, point));
    // Anything after a second "." is ignored, as a split of the text would do.
    const std::string fraction = TrimBlanks(text.substr(
        point + 1, secondPoint == std::string::npos ? std::string::npos : secondPoint - point - 1));
    std::string result = integerPart + "." + fraction;
    if (integerPart.size() == 1) result.insert(0, 1, ' ');
    if (width < 0 || result.size() > static_cast<size_t>(width)) throw FormatNumError();
    return LeftJustify(result, width);
}

}  // namespace sabrix
