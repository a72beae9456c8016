// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileSystem.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace sabrix {

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

bool FolderExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool CreateFolder(const std::string& path) {
    std::error_code error;
    fs::create_directory(path, error);
    return FolderExists(path);
}

bool DeleteFile(const std::string& path) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return true;
    // Write permission on the file itself does not matter for unlinking on this platform,
    // so read-only files are deleted like any other.
    return fs::remove(path, error) && !error;
}

std::string BackupPathFor(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return path + ".bak";
    return path.substr(0, dot) + ".bak";
}

}  // namespace sabrix
