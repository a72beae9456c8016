// SPDX-License-Identifier: GPL-3.0-or-later
// Where a save copies the loaded file before it replaces it: a backup name that no other file
// of the same folder can claim, so that one file's backup never replaces the saved original of
// another.
#pragma once

#include <string>

namespace sabrix {

// The file a save copies the loaded file to before writing. Ordinarily BackupPathFor(path)
// ("/data/star.txt" -> "/data/star.bak"), or path + ".bak" when that would be the loaded file
// itself ("x.bak" -> "x.bak.bak"). When another regular file in the same folder could take
// the same backup name ("star.csv" or "star" beside "star.txt", or "star.txt.old" beside
// "star.txt"), the backup is path + ".bak" ("/data/star.txt.bak"). A folder that cannot be
// listed counts as holding no other file.
std::string SaveBackupPath(const std::string& path);

}  // namespace sabrix
