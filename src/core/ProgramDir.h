// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its files. The program directory P holds the settings file, the
// working database and the files folder (no trailing separator). The template database and
// the user guide are read from P when they are there, else from beside the executable, else
// from the data folder of an installed program (PREFIX/bin/sabrix -> PREFIX/share/sabrix), so
// an installed program runs from any prefix without being built again.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace sabrix {

// What the choice of the program directory depends on.
struct ProgramDirSources {
    // The environment variables SABRIX_HOME, XDG_STATE_HOME and HOME (empty when unset).
    std::string sabrixHome;
    std::string xdgStateHome;
    std::string home;
    // The folder of the running executable.
    std::string executableDir;
    // Whether the running user can create files in a folder.
    std::function<bool(const std::string&)> writable;
};

// The sources of this process: its environment, its executable's folder and the file system.
ProgramDirSources CurrentProgramDirSources();

// The program directory P, in this order:
// - SABRIX_HOME when it is set and not empty (trailing separators dropped);
// - the executable's folder when it can be written and is not the bin folder of an installed
//   program (one without a template beside it, whose installed data folder has one);
// - the per-user working folder $XDG_STATE_HOME/sabrix, or $HOME/.local/state/sabrix when
//   XDG_STATE_HOME is unset or not an absolute path: apart from the data folder of a program
//   installed with the prefix ~/.local, so that removing the program leaves only this folder.
// Creates nothing.
std::string ChooseProgramDirectory(const ProgramDirSources& sources);

// The data folder that the first-start configuration offers: the folder SABRIX_HOME names
// when it is set; otherwise (an installed program, or one run from its build folder) the
// user's documentsDir when it is a folder, else the user's home, else the program directory.
std::string ChooseFirstDataFolder(const ProgramDirSources& sources,
                                  const std::string& documentsDir);

// ChooseProgramDirectory for this process. Creates the folder (and its parents) when it does
// not exist yet; a folder that cannot be created is returned all the same, and the start-up
// reports the failure when it writes there.
std::string ProgramDirectory();

// The folder of the running executable; the current folder when it cannot be told.
std::string ExecutableDirectory();
// The data folder of a program installed with its executable in executableDir:
// "/opt/x/bin" -> "/opt/x/share/sabrix" (for the usual install folders).
std::string InstalledDataDirectory(const std::string& executableDir);

// The first of P/name, executableDir/name and InstalledDataDirectory(executableDir)/name that
// is a file; nothing when none is.
std::optional<std::string> FindProgramFile(const std::string& dir, const std::string& executableDir,
                                           const std::string& name);

inline std::string SettingsFilePath(const std::string& dir) {
    return dir + "/Sabrix.ini";
}
// The template database that the working database is copied from: found as FindProgramFile
// finds it, for the running executable. When there is none, P's own path, which the
// "template missing" message names.
std::string TemplateDatabasePath(const std::string& dir);
inline std::string WorkingDatabasePath(const std::string& dir) {
    return dir + "/Sabrix97.db";
}
inline std::string FilesFolderPath(const std::string& dir) {
    return dir + "/files";
}
// The user guide, Documentation/Documentation.html, found as the template is. When there is
// none, P's own path, which the message about it names.
std::string UserGuidePath(const std::string& dir);

}  // namespace sabrix
