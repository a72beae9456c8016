// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file Sabrix.ini in the program directory: reading it at start and on a
// cancelled configuration, writing it when the configuration is confirmed, and the values a
// first start offers.
//
// The file is a section line ("[Sabrix.exe]", ignored when read) followed by key lines
// "Key=Value". The key is everything before the first "=" and is compared exactly (case and
// blanks count); the value is everything after it. Keys may come in any order, unknown keys
// are ignored and the last line of a key wins. A key that is missing, or whose value cannot
// be read as its type, takes the value a first start offers (DefaultSettings), so a damaged
// file never leaves a colour at 0.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppState.h"

namespace sabrix {

// One of the thirteen colour settings: its key in the file, its member in Settings and the
// colour a first start offers (packed red + 256 * green + 65536 * blue).
struct ColorSetting {
    const char* key;
    double Settings::*member;
    double defaultColor;
};

// The thirteen colour settings in the order they are written.
const std::array<ColorSetting, 13>& ColorSettings();

// The first-start colour of a colour key ("ColorVIS" -> 65280). Returns 0 for a name that
// is not a colour key.
double DefaultColor(std::string_view key);

// The values a first start offers: the program directory as FilePath, ConnectMarked False,
// PolyFit 40, DefaultSigma 2 and the thirteen default colours; IniMissing False.
Settings DefaultSettings(const std::string& programDir);

// Reads programDir + "/Sabrix.ini" into the settings.
// Returns true when the file was found and read: every key takes its value from the file or,
// when the file gives none it can read, from DefaultSettings(programDir). Returns false and
// sets IniMissing to True, leaving every other member unchanged, when the folder holds no
// regular file named exactly "Sabrix.ini" or it cannot be opened. Never sets IniMissing back
// to False. Never throws: lines without "=", lines longer than 64 KiB and values of the wrong
// form are skipped and the rest of the file is still read. When replaced is given, it receives
// the keys (in the order they are written) that took their first-start value because the
// file had no line of theirs that could be read; empty for a whole file or a missing one.
bool ReadSettings(const std::string& programDir, Settings& settings,
                  std::vector<std::string>* replaced = nullptr);

// The complete text of the settings file for these settings: the section line and the
// seventeen key lines in their fixed order, each ending in CR LF. Booleans are "True" or
// "False", colours whole decimal numbers.
std::string SettingsFileText(const Settings& settings);

// Writes SettingsFileText(settings) to programDir + "/Sabrix.ini" through an AtomicFile,
// followed by the sections after the settings' own that the file held (the window layout).
// On failure (a full disk included) throws SabrixError with a description naming the file;
// the old file is then left byte for byte as it was.
void WriteSettings(const std::string& programDir, const Settings& settings);

}  // namespace sabrix
