// SPDX-License-Identifier: GPL-3.0-or-later
// The private folder a command-line run keeps its scratch database in, under the system's
// temporary folder. Its name carries the process id ("sabrix-4711-Ab3xYz"), so that a later
// run can tell a folder whose run was killed from one that is still in use and remove it.
#pragma once

#include <string>

namespace sabrix {

class ScratchFolder {
  public:
    // Removes the stale scratch folders under tempRoot (see RemoveStaleScratchFolders), then
    // creates a new one there. On failure isValid() is false.
    explicit ScratchFolder(const std::string& tempRoot);
    // Removes the folder with everything in it.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool isValid() const { return !path_.empty(); }
    // The folder's path; empty when it could not be created.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Removes every folder "sabrix-<pid>-XXXXXX" directly under tempRoot that belongs to this
// user and whose process no longer runs. Folders of running processes, of other users, and
// of any other name (older runs named "sabrix-XXXXXX" included) are left alone. Returns the
// number removed; never throws.
int RemoveStaleScratchFolders(const std::string& tempRoot);

}  // namespace sabrix
