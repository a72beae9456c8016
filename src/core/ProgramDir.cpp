// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ProgramDir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace sabrix {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSeparators(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

constexpr const char* kTemplateName = "Template97.db";

}  // namespace

std::string ExecutableDirectory() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path(error).string();
    return exe.parent_path().string();
}

std::string InstalledDataDirectory(const std::string& executableDir) {
    return (fs::path(executableDir) / SABRIX_DATA_FROM_BIN).lexically_normal().string();
}

ProgramDirSources CurrentProgramDirSources() {
    ProgramDirSources sources;
    sources.sabrixHome = Environment("SABRIX_HOME");
    sources.xdgStateHome = Environment("XDG_STATE_HOME");
    sources.home = Environment("HOME");
    if (sources.home.empty()) {
        if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr)
            sources.home = user->pw_dir;
    }
    sources.executableDir = ExecutableDirectory();
    sources.writable = [](const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; };
    return sources;
}

namespace {

std::string PerUserFolder(const ProgramDirSources& sources) {
    std::string stateHome = sources.xdgStateHome;
    if (stateHome.empty() || stateHome.front() != '/') stateHome = sources.home + "/.local/state";
    return WithoutTrailingSeparators(stateHome) + "/sabrix";
}

}  // namespace

std::string ChooseProgramDirectory(const ProgramDirSources& sources) {
    if (!sources.sabrixHome.empty()) return WithoutTrailingSeparators(sources.sabrixHome);
    const std::string& exeDir = sources.executableDir;
    // Even a user who may write to PREFIX/bin (root, for one) keeps the settings and the
    // databases of an installed program in the per-user folder, not among the executables.
    const bool installed = !IsFile(exeDir + "/" + kTemplateName) &&
                           IsFile(InstalledDataDirectory(exeDir) + "/" + kTemplateName);
    if (!installed && sources.writable && sources.writable(exeDir)) return exeDir;
    return PerUserFolder(sources);
}

std::string ChooseFirstDataFolder(const ProgramDirSources& sources,
                                  const std::string& documentsDir) {
    const std::string dir = ChooseProgramDirectory(sources);
    if (!sources.sabrixHome.empty()) return dir;
    std::error_code error;
    if (!documentsDir.empty() && fs::is_directory(documentsDir, error))
        return WithoutTrailingSeparators(documentsDir);
    return sources.home.empty() ? dir : WithoutTrailingSeparators(sources.home);
}

std::string ProgramDirectory() {
    const std::string dir = ChooseProgramDirectory(CurrentProgramDirSources());
    std::error_code error;
    fs::create_directories(dir, error);
    return dir;
}

std::optional<std::string> FindProgramFile(const std::string& dir, const std::string& executableDir,
                                           const std::string& name) {
    for (const std::string& folder : {dir, executableDir, InstalledDataDirectory(executableDir)}) {
        const std::string path = folder + "/" + name;
        if (IsFile(path)) return path;
    }
    return std::nullopt;
}

std::string TemplateDatabasePath(const std::string& dir) {
    return FindProgramFile(dir, ExecutableDirectory(), kTemplateName)
        .value_or(dir + "/" + kTemplateName);
}

std::string UserGuidePath(const std::string& dir) {
    const std::string name = "Documentation/Documentation.html";
    return FindProgramFile(dir, ExecutableDirectory(), name).value_or(dir + "/" + name);
}

}  // namespace sabrix
