// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SaveBackup.h"

#include <filesystem>

#include "core/FileSystem.h"

namespace fs = std::filesystem;

namespace sabrix {

namespace {

// The backup a file takes when no other file competes for the name.
std::string PlainBackupPath(const std::string& path) {
    const std::string backup = BackupPathFor(path);
    return backup == path ? path + ".bak" : backup;
}

}  // namespace

std::string SaveBackupPath(const std::string& path) {
    const std::string plain = PlainBackupPath(path);
    const fs::path given(path);
    const std::string name = given.filename().string();
    const std::string plainName = fs::path(plain).filename().string();
    const fs::path folder = given.has_parent_path() ? given.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string other = it->path().filename().string();
        if (other == name || !it->is_regular_file(error)) continue;
        // Another file that takes, or may take, the same backup name: "star.csv" beside
        // "star.txt", or "star.txt" beside "star.txt.old". Each then gets a backup named
        // after its whole name, which no other file can claim.
        if (PlainBackupPath(other) == plainName || other + ".bak" == plainName)
            return path + ".bak";
    }
    return plain;
}

}  // namespace sabrix
