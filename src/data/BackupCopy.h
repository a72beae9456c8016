// SPDX-License-Identifier: GPL-3.0-or-later
// The backup that a save makes of the loaded file, copied while the save builds its new text.
// A thread of its own copies the file into a temporary file beside the backup and pushes it to
// the disk; the copy replaces the backup only when the save goes on (Commit), so a save that
// fails before (a value that does not fit the layout) leaves the old backup as it was, and the
// copy costs the save hardly any time of its own.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <thread>

namespace sabrix {

class AtomicFile;

class BackupCopy {
  public:
    // Starts copying from into a temporary file beside to. Does not throw: a failure to start
    // is reported by Commit.
    BackupCopy(const std::string& from, const std::string& to);
    // Waits for the copy; removes it unless it was committed.
    ~BackupCopy();
    BackupCopy(const BackupCopy&) = delete;
    BackupCopy& operator=(const BackupCopy&) = delete;

    // Waits for the copy and puts it in place of to. Throws SabrixError with the system's
    // description when from could not be read or to cannot be written (to is then unchanged).
    void Commit();

  private:
    void copy(const std::string& from);

    std::unique_ptr<AtomicFile> file_;
    // Written by the copying thread, read after it has been joined.
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace sabrix
