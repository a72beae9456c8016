// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsFile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

#include "core/AtomicFile.h"
#include "core/LineReader.h"
#include "core/NumberText.h"
#include "core/ProgramDir.h"

namespace sabrix {

namespace {

constexpr std::string_view kSectionLine = "[Sabrix.exe]";
constexpr std::string_view kFileName = "Sabrix.ini";
constexpr std::string_view kLineEnd = "\r\n";
constexpr double kLargestColor = 16777215.0;

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A value that cannot be read as its type leaves the setting alone, so one damaged line
// costs one setting and never the rest of the file.
// Each returns whether the value was taken.
bool StoreInteger(std::string_view value, int16_t& target) {
    double number = 0;
    if (!ParseNumber(value, number) || !std::isfinite(number)) return false;
    const double whole = RoundHalfEven(number, 0);
    if (whole < -32768.0 || whole > 32767.0) return false;
    target = static_cast<int16_t>(whole);
    return true;
}

bool StoreBoolean(std::string_view value, bool& target) {
    const auto text = TrimBlanks(value);
    if (EqualsIgnoringCase(text, "True")) {
        target = true;
    } else if (EqualsIgnoringCase(text, "False")) {
        target = false;
    } else {
        double number = 0;
        if (!ParseNumber(text, number) || std::isnan(number)) return false;
        target = number != 0;
    }
    return true;
}

// Anything outside the 24-bit range is no colour; taking it would only hand the drawing
// code a value it cannot convert.
bool StoreColor(std::string_view value, double& target) {
    double number = 0;
    if (!ParseNumber(value, number) || !std::isfinite(number)) return false;
    if (number < 0 || number > kLargestColor) return false;
    target = number;
    return true;
}

// Stores the value of a known key. Returns the key's name when it was taken, else nothing.
std::optional<std::string_view> StoreByKey(std::string_view key, std::string_view value,
                                           Settings& settings) {
    bool taken = false;
    if (key == "FilePath") {
        settings.FilePath = std::string(value);
        taken = true;
    } else if (key == "ConnectMarked") {
        taken = StoreBoolean(value, settings.ConnectMarked);
    } else if (key == "PolyFit") {
        taken = StoreInteger(value, settings.PolyFit);
    } else if (key == "DefaultSigma") {
        taken = StoreInteger(value, settings.DefaultSigma);
    } else {
        for (const auto& color : ColorSettings())
            if (key == color.key) taken = StoreColor(value, settings.*color.member);
    }
    return taken ? std::optional<std::string_view>(key) : std::nullopt;
}

// The file counts only when the folder holds an entry of exactly this name, whatever the
// file system would match when asked for the path.
bool FolderHoldsSettingsFile(const std::string& programDir) {
    std::error_code error;
    std::filesystem::directory_iterator entries(programDir, error);
    if (error) return false;
    for (const auto& entry : entries) {
        if (entry.path().filename() == kFileName) {
            std::error_code typeError;
            return entry.is_regular_file(typeError);
        }
    }
    return false;
}

void AppendLine(std::string& text, std::string_view key, std::string_view value) {
    text.append(key);
    text.push_back('=');
    text.append(value);
    text.append(kLineEnd);
}

}  // namespace

const std::array<ColorSetting, 13>& ColorSettings() {
    static const std::array<ColorSetting, 13> kColors{{
        {"ColorVIS", &Settings::ColorVIS, 65280},
        {"ColorFAINT", &Settings::ColorFAINT, 9539985},
        // Discrepant observations in orange (255, 128, 0) and band B in cyan (0, 255, 255):
        // each apart from every other default, where V's azure once served B as well and
        // discrepant points came out in nearly the same blue.
        {"ColorDISC", &Settings::ColorDISC, 33023},
        {"ColorNA", &Settings::ColorNA, 65280},
        {"ColorCR", &Settings::ColorCR, 8454016},
        {"ColorU", &Settings::ColorU, 16711680},
        {"ColorV", &Settings::ColorV, 16744448},
        {"ColorB", &Settings::ColorB, 16776960},
        {"ColorR", &Settings::ColorR, 255},
        {"ColorI", &Settings::ColorI, 16744576},
        {"ColorCV", &Settings::ColorCV, 12615935},
        {"ColorJ", &Settings::ColorJ, 4227200},
        {"ColorH", &Settings::ColorH, 16744703},
    }};
    return kColors;
}

double DefaultColor(std::string_view key) {
    for (const auto& color : ColorSettings())
        if (key == color.key) return color.defaultColor;
    return 0;
}

Settings DefaultSettings(const std::string& programDir) {
    Settings settings;
    settings.FilePath = programDir;
    settings.ConnectMarked = false;
    settings.PolyFit = 40;
    settings.DefaultSigma = 2;
    for (const auto& color : ColorSettings()) settings.*color.member = color.defaultColor;
    return settings;
}

bool ReadSettings(const std::string& programDir, Settings& settings,
                  std::vector<std::string>* replaced) {
    LineReader reader;
    if (!FolderHoldsSettingsFile(programDir) || !reader.open(SettingsFilePath(programDir))) {
        settings.IniMissing = true;
        return false;
    }
    // An empty, cut short or hand-edited file must not leave a colour at 0, which draws black
    // on the black plot: every key the file does not give takes its first-start value.
    Settings read = DefaultSettings(programDir);
    read.IniMissing = settings.IniMissing;
    std::set<std::string, std::less<>> taken;
    std::string_view line;
    if (reader.next(line)) {  // the section line, whatever it says
        while (reader.next(line)) {
            if (reader.lineCut()) continue;
            const auto equals = line.find('=');
            if (equals == std::string_view::npos) continue;
            if (const auto key = StoreByKey(line.substr(0, equals), line.substr(equals + 1), read))
                taken.emplace(*key);
        }
    }
    settings = std::move(read);
    if (replaced) {
        replaced->clear();
        std::vector<std::string> keys = {"FilePath", "ConnectMarked", "PolyFit", "DefaultSigma"};
        for (const auto& color : ColorSettings()) keys.emplace_back(color.key);
        for (std::string& key : keys)
            if (!taken.contains(key)) replaced->push_back(std::move(key));
    }
    return true;
}

std::string SettingsFileText(const Settings& settings) {
    std::string text;
    text.append(kSectionLine);
    text.append(kLineEnd);
    AppendLine(text, "FilePath", settings.FilePath);
    AppendLine(text, "ConnectMarked", settings.ConnectMarked ? "True" : "False");
    AppendLine(text, "PolyFit", std::to_string(settings.PolyFit));
    AppendLine(text, "DefaultSigma", std::to_string(settings.DefaultSigma));
    for (const auto& color : ColorSettings())
        AppendLine(text, color.key, FormatDouble(RoundHalfEven(settings.*color.member, 0)));
    return text;
}

void WriteSettings(const std::string& programDir, const Settings& settings) {
    // Sections after the settings' own (the window layout) are kept as they are.
    std::string text = SettingsFileText(settings);
    if (FolderHoldsSettingsFile(programDir)) {
        std::ifstream in(SettingsFilePath(programDir), std::ios::binary);
        const std::string old((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        for (size_t pos = old.find('\n'); pos != std::string::npos && pos + 1 < old.size();
             pos = old.find('\n', pos + 1)) {
            if (old[pos + 1] != '[') continue;
            text += old.substr(pos + 1);
            if (text.back() != '\n') text.append(kLineEnd);
            break;
        }
    }
    WriteProgramFile(SettingsFilePath(programDir), text);
}

}  // namespace sabrix
