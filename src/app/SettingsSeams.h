// SPDX-License-Identifier: GPL-3.0-or-later
// The places where the start-up, the end of the run and the "Configure" command reach the
// settings file and the configuration dialog. They are plain functions held in a struct, so the
// tests can put fakes in their place.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Prompts.h"
#include "interaction/RememberedLayout.h"

class QWidget;

namespace sabrix {

struct SettingsSeams {
    // Reads Sabrix.ini of the program directory into the settings; sets IniMissing when the
    // file is not there and leaves every other value as it was then.
    std::function<void(const std::string& programDir, Settings& settings)> readSettings;
    // The keys of an existing Sabrix.ini that took their first-start values at that read (a
    // damaged or cut file); the start-up names them once. Unset: nothing is said.
    std::function<std::vector<std::string>(const std::string& programDir)> replacedSettings;
    // Shows the configuration dialog modally over parent (nullptr at the first start) and
    // waits for it. Returns true when the program goes on, false when the user's answer ends
    // the program (a first start that was not confirmed).
    std::function<bool(QWidget* parent, Settings& settings, const std::string& programDir,
                       Prompts& prompts)>
        runConfiguration;
    // The window layout kept at the end of the last run, restored at start, and keeping it at
    // the end of this one. Unset: the windows open at their first places and nothing is kept.
    std::function<RememberedLayout(const std::string& programDir)> readLayout;
    std::function<void(const std::string& programDir, const RememberedLayout& layout)> writeLayout;
};

}  // namespace sabrix
