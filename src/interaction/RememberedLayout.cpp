// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RememberedLayout.h"

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>

#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "interaction/SideWindowPlace.h"

namespace sabrix {

namespace {

constexpr std::string_view kSection = "[Layout]";
constexpr std::string_view kLineEnd = "\r\n";

// The line at pos without its terminator (a CR before the LF included), and the position of
// the next line.
std::string_view LineAt(std::string_view text, size_t pos, size_t& next) {
    const size_t end = text.find('\n', pos);
    next = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line =
        text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// N whole numbers separated by commas, and nothing else.
template <size_t N>
std::optional<std::array<int, N>> Numbers(std::string_view value) {
    std::array<int, N> numbers{};
    const char* p = value.data();
    const char* end = value.data() + value.size();
    for (size_t i = 0; i < N; ++i) {
        if (i > 0) {
            if (p == end || *p != ',') return std::nullopt;
            ++p;
        }
        const auto [stop, error] = std::from_chars(p, end, numbers[i]);
        if (error != std::errc()) return std::nullopt;
        p = stop;
    }
    if (p != end) return std::nullopt;
    return numbers;
}

void Store(std::string_view key, std::string_view value, RememberedLayout& layout) {
    if (key == "MainWindow") {
        if (const auto n = Numbers<4>(value); n && (*n)[2] > 0 && (*n)[3] > 0)
            layout.mainWindow = QRect((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
    } else if (key == "BandPanel") {
        const size_t comma = value.find(',');
        const std::string_view shown = value.substr(0, comma);
        if (shown != "True" && shown != "False") return;
        int width = 0;
        if (comma != std::string_view::npos) {
            const auto n = Numbers<1>(value.substr(comma + 1));
            if (!n || (*n)[0] < 0) return;
            width = (*n)[0];
        }
        layout.bandPanelShown = shown == "True";
        layout.bandPanelWidth = width;
    } else if (key == "PeriodWindow") {
        if (const auto n = Numbers<2>(value)) layout.periodWindow = QPoint((*n)[0], (*n)[1]);
    }
}

std::string SectionText(const RememberedLayout& layout) {
    std::string text(kSection);
    text += kLineEnd;
    if (const auto& r = layout.mainWindow)
        text += "MainWindow=" + std::to_string(r->left()) + ',' + std::to_string(r->top()) + ',' +
                std::to_string(r->width()) + ',' + std::to_string(r->height()) +
                std::string(kLineEnd);
    if (layout.bandPanelShown)
        text += std::string("BandPanel=") + (*layout.bandPanelShown ? "True" : "False") + ',' +
                std::to_string(layout.bandPanelWidth) + std::string(kLineEnd);
    if (const auto& p = layout.periodWindow)
        text += "PeriodWindow=" + std::to_string(p->x()) + ',' + std::to_string(p->y()) +
                std::string(kLineEnd);
    return text;
}

// The text of Sabrix.ini, or nothing when the folder has none that can be read.
std::optional<std::string> SettingsText(const std::string& programDir) {
    std::ifstream in(SettingsFilePath(programDir), std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
}

}  // namespace

RememberedLayout ParseLayoutSection(std::string_view fileText) {
    RememberedLayout layout;
    bool inSection = false;
    for (size_t pos = 0, next = 0; pos < fileText.size(); pos = next) {
        const std::string_view line = LineAt(fileText, pos, next);
        if (line.starts_with('[')) {
            inSection = line == kSection;
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos)
            Store(line.substr(0, equals), line.substr(equals + 1), layout);
    }
    return layout;
}

std::string WithLayoutSection(std::string_view fileText, const RememberedLayout& layout) {
    std::string text;
    bool inSection = false;
    for (size_t pos = 0, next = 0; pos < fileText.size(); pos = next) {
        const std::string_view line = LineAt(fileText, pos, next);
        if (line.starts_with('[')) inSection = line == kSection;
        if (!inSection) text.append(fileText.substr(pos, next - pos));
    }
    if (!text.empty() && text.back() != '\n') text += kLineEnd;
    return text + SectionText(layout);
}

RememberedLayout ReadRememberedLayout(const std::string& programDir) {
    const std::optional<std::string> text = SettingsText(programDir);
    return text ? ParseLayoutSection(*text) : RememberedLayout{};
}

bool WriteRememberedLayout(const std::string& programDir, const RememberedLayout& layout) {
    if (!FileExists(SettingsFilePath(programDir))) return false;
    const std::optional<std::string> text = SettingsText(programDir);
    if (!text) return false;
    WriteProgramFile(SettingsFilePath(programDir), WithLayoutSection(*text, layout));
    return true;
}

QRect RestoredFrame(const QRect& frame, const std::vector<QRect>& areas) {
    if (areas.empty()) return frame;
    const QRect* best = &areas.front();
    long long bestOverlap = 0;
    for (const QRect& area : areas) {
        if (area.contains(frame)) return frame;
        const QRect overlap = area.intersected(frame);
        const long long size = static_cast<long long>(overlap.width()) * overlap.height();
        if (size > bestOverlap) {
            bestOverlap = size;
            best = &area;
        }
    }
    return FrameInside(frame, *best);
}

}  // namespace sabrix
