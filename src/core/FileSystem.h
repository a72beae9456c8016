// SPDX-License-Identifier: GPL-3.0-or-later
// Small file-system routines shared by the start-up, the dialogs and the writers.
#pragma once

#include <string>

namespace sabrix {

// True when a regular file (or a link to one) of that path exists.
bool FileExists(const std::string& path);
// True when a folder of that path exists.
bool FolderExists(const std::string& path);
// Creates the folder (its parent must exist); returns FolderExists(path) afterwards.
bool CreateFolder(const std::string& path);
// Deletes the file, read-only files included. Returns false when it could not be deleted
// (a missing file counts as deleted).
bool DeleteFile(const std::string& path);

// The backup name of a file: the last "." after the last "/" becomes ".bak"; a file name
// without "." gets ".bak" appended. "/data/obs.dir/star" -> "/data/obs.dir/star.bak".
std::string BackupPathFor(const std::string& path);

}  // namespace sabrix
