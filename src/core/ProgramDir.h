// Where the program keeps its files: the settings file, the template and working databases
// and the files folder all live in the program directory P (no trailing separator).
#pragma once

#include <string>

namespace sabrix {

// The directory named by the environment variable SABRIX_HOME when it is set and not empty,
// otherwise the directory of the running executable.
std::string ProgramDirectory();

inline std::string SettingsFilePath(const std::string& dir) {
    return dir + "/Sabrix.ini";
}
inline std::string TemplateDatabasePath(const std::string& dir) {
    return dir + "/Template97.db";
}
inline std::string WorkingDatabasePath(const std::string& dir) {
    return dir + "/Sabrix97.db";
}
inline std::string FilesFolderPath(const std::string& dir) {
    return dir + "/files";
}

}  // namespace sabrix
