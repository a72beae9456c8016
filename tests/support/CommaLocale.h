// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the process into a locale that writes numbers with a decimal comma (German) for the
// life of the object, then back into the locale it was in. The locale is compiled once with
// localedef into a private folder named by LOCPATH, so the machine's own locales do not
// matter; where localedef is missing, active() is false and the test skips.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/ScopedEnv.h"

namespace sabrix::test {

class CommaLocale {
  public:
    CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
        if (DecimalComma()) {  // the run is in one already
            active_ = true;
            return;
        }
        const std::string folder = CompiledFolder();
        if (folder.empty()) return;
        locPath_.emplace("LOCPATH", folder.c_str());
        active_ = std::setlocale(LC_ALL, kName) != nullptr && DecimalComma();
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return active_; }

    static bool DecimalComma() { return std::localeconv()->decimal_point[0] == ','; }

  private:
    static constexpr const char* kName = "de_DE.UTF-8";

    // The folder holding the compiled locale, shared by the test programs of one user; built
    // under another name and renamed into place, so programs that run at once do not meet
    // half a locale. Empty when it cannot be made.
    static std::string CompiledFolder() {
        namespace fs = std::filesystem;
        const fs::path folder =
            fs::temp_directory_path() / ("sabrix-comma-locale-" + std::to_string(::getuid()));
        if (fs::exists(folder / kName / "LC_NUMERIC")) return folder.string();
        const fs::path building = folder.string() + "." + std::to_string(::getpid());
        std::error_code ec;
        fs::create_directories(building, ec);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (building / kName).string() + "' >/dev/null 2>&1";
        // localedef may end with a warning yet have written the whole locale.
        if (std::system(command.c_str()) != -1 && fs::exists(building / kName / "LC_NUMERIC"))
            fs::rename(building, folder, ec);
        fs::remove_all(building, ec);
        return fs::exists(folder / kName / "LC_NUMERIC") ? folder.string() : std::string();
    }

    std::string saved_;
    std::optional<ScopedEnv> locPath_;
    bool active_ = false;
};

}  // namespace sabrix::test
