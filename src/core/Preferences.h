// SPDX-License-Identifier: GPL-3.0-or-later
// What the program keeps between runs besides Sabrix.ini, whose layout stays as it is: the
// "Calendar Dates" check item and the files loaded last. They live in Sabrix.prefs beside
// Sabrix.ini, a text file of key lines, each ending in CR LF:
//
//   CalendarDates=True
//   StarFile=/home/ann/stars/rcar.txt
//   ThreeColumnFile=/home/ann/stars/rcar.v.dat
//
// The file lines come newest first. Reading is tolerant: unknown keys, lines without "=",
// a value of CalendarDates that is neither "True" nor "False", empty paths, repeated paths
// and file lines beyond the fifth are passed over; a missing or unreadable file gives the
// defaults (calendar dates off, no recent file).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/ObservationFileKind.h"

namespace sabrix {

struct RecentFile {
    ObservationFileKind kind = ObservationFileKind::StarFile;
    std::string path;

    bool operator==(const RecentFile&) const = default;
};

struct Preferences {
    bool CalendarDates = false;
    // Newest first, at most kMostRecentFiles, no path twice.
    std::vector<RecentFile> RecentFiles;
};

constexpr size_t kMostRecentFiles = 5;

inline std::string PreferencesFilePath(const std::string& programDir) {
    return programDir + "/Sabrix.prefs";
}

// Reads programDir's Sabrix.prefs. Never throws.
Preferences ReadPreferences(const std::string& programDir);

// The complete text of the file for these preferences.
std::string PreferencesFileText(const Preferences& preferences);

// Writes PreferencesFileText to programDir's Sabrix.prefs through an AtomicFile. Throws
// SabrixError naming the file when it cannot be written; the old file is then unchanged.
void WritePreferences(const std::string& programDir, const Preferences& preferences);

// Puts the file first in the list, taking it out from further down, and keeps the newest
// kMostRecentFiles. A path holding a line break cannot be kept in the file and is left out.
void RememberRecentFile(Preferences& preferences, const RecentFile& file);

// Takes the path out of the list. Returns whether it was there.
bool ForgetRecentFile(Preferences& preferences, const std::string& path);

}  // namespace sabrix
