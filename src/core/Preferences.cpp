// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Preferences.h"

#include <algorithm>
#include <string_view>

#include "core/AtomicFile.h"
#include "core/LineReader.h"

namespace sabrix {

namespace {

constexpr std::string_view kCalendarKey = "CalendarDates";
constexpr std::string_view kStarFileKey = "StarFile";
constexpr std::string_view kThreeColumnFileKey = "ThreeColumnFile";
constexpr std::string_view kLineEnd = "\r\n";

bool Keepable(const std::string& path) {
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos;
}

bool Listed(const Preferences& preferences, const std::string& path) {
    return std::any_of(preferences.RecentFiles.begin(), preferences.RecentFiles.end(),
                       [&](const RecentFile& file) { return file.path == path; });
}

void StoreByKey(std::string_view key, std::string_view value, Preferences& preferences) {
    if (key == kCalendarKey) {
        if (value == "True") preferences.CalendarDates = true;
        if (value == "False") preferences.CalendarDates = false;
        return;
    }
    RecentFile file;
    if (key == kStarFileKey)
        file.kind = ObservationFileKind::StarFile;
    else if (key == kThreeColumnFileKey)
        file.kind = ObservationFileKind::ThreeColumnFile;
    else
        return;
    file.path = std::string(value);
    if (!Keepable(file.path) || Listed(preferences, file.path) ||
        preferences.RecentFiles.size() >= kMostRecentFiles)
        return;
    preferences.RecentFiles.push_back(std::move(file));
}

}  // namespace

Preferences ReadPreferences(const std::string& programDir) {
    Preferences preferences;
    LineReader reader;
    if (!reader.open(PreferencesFilePath(programDir))) return preferences;
    std::string_view line;
    while (reader.next(line)) {
        if (reader.lineCut()) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        StoreByKey(line.substr(0, equals), line.substr(equals + 1), preferences);
    }
    return preferences;
}

std::string PreferencesFileText(const Preferences& preferences) {
    std::string text;
    const auto append = [&text](std::string_view key, std::string_view value) {
        text.append(key);
        text.push_back('=');
        text.append(value);
        text.append(kLineEnd);
    };
    append(kCalendarKey, preferences.CalendarDates ? "True" : "False");
    for (const RecentFile& file : preferences.RecentFiles)
        append(file.kind == ObservationFileKind::StarFile ? kStarFileKey : kThreeColumnFileKey,
               file.path);
    return text;
}

void WritePreferences(const std::string& programDir, const Preferences& preferences) {
    WriteProgramFile(PreferencesFilePath(programDir), PreferencesFileText(preferences));
}

void RememberRecentFile(Preferences& preferences, const RecentFile& file) {
    if (!Keepable(file.path)) return;
    ForgetRecentFile(preferences, file.path);
    auto& files = preferences.RecentFiles;
    files.insert(files.begin(), file);
    if (files.size() > kMostRecentFiles) files.resize(kMostRecentFiles);
}

bool ForgetRecentFile(Preferences& preferences, const std::string& path) {
    auto& files = preferences.RecentFiles;
    const auto before = files.size();
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const RecentFile& file) { return file.path == path; }),
                files.end());
    return files.size() != before;
}

}  // namespace sabrix
