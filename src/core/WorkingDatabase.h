// SPDX-License-Identifier: GPL-3.0-or-later
// The working database and its life cycle: the per-run copy of the template database in the
// program directory, the files folder beside it, the lock that keeps two copies of the
// program from sharing one program directory, and the reset of the per-star state that goes
// with throwing the working database away.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <string>

#include "core/AppState.h"
#include "core/Prompts.h"
#include "core/SabrixError.h"

namespace sabrix {

// A failure after which the program cannot go on: the message to show, its title and icon.
class FatalFileError : public SabrixError {
  public:
    FatalFileError(const std::string& description, QString title, Icon icon)
        : SabrixError(description), title_(std::move(title)), icon_(icon) {}
    const QString& title() const { return title_; }
    Icon icon() const { return icon_; }

  private:
    QString title_;
    Icon icon_;
};

// Makes sure the files folder exists (state.star.FilesFolder is set to it) and replaces the
// working database with a fresh, writable copy of the template. Journal files that an
// earlier run left beside the working database are removed first, so they can never be
// applied to the fresh copy.
// Throws FatalFileError: "Database template " + path + " missing." (title "File Missing",
// critical) when the template does not exist, or a message naming the working database when
// it cannot be replaced. A missing template leaves any old working database untouched.
void PrepareWorkingDatabase(const std::string& programDir, AppState& state);

// Replaces the database file at workingPath (and its journal files) with a writable copy of
// the template. Throws FatalFileError as PrepareWorkingDatabase does.
void ReplaceWithTemplate(const std::string& templatePath, const std::string& workingPath);

// Deletes the database file at workingPath and its journal files, as DeleteWorkingDatabase.
void DeleteDatabaseFiles(const std::string& workingPath);

// Deletes the working database and its journal files. Returns normally when they are gone
// (or never existed); throws FatalFileError naming the path when one cannot be deleted.
void DeleteWorkingDatabase(const std::string& programDir);

// Every reset of the per-star part of the state that unloading a star makes: FilePath and
// StarName emptied, the extremes and plot window cleared, both magnifications 1.0, the edit,
// three-column and box-tool flags cleared, the hidden bands shown again, FileLoaded false. The
// other settings, OmitFainter, OmitDiscrepant, StatsShown, ThreeColumnFilePath and the other tools
// keep their values. (What the commands keep of the star beside the state, the bins, fit and marks,
// they forget themselves.)
void ResetStarState(AppState& state);

// Keeps a second copy of the program off a program directory that one copy already uses.
// The lock is the file "Sabrix.lock" in the program directory; a lock left by a copy that
// died is taken over.
class InstanceLock {
  public:
    enum class Result { Acquired, HeldByOther, Unavailable };

    explicit InstanceLock(const std::string& programDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Acquired: this copy owns the directory until destruction. HeldByOther: another running
    // copy owns it. Unavailable: the lock file cannot be written (for example a read-only
    // directory); nothing is locked then, and the start-up reports the real problem when it
    // tries to write the working database.
    Result tryLock();
    // The message that refuses a second copy, naming the directory.
    QString refusalText() const;
    static QString refusalTitle() { return QStringLiteral("Sabrix Already Running"); }

  private:
    std::string dir_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace sabrix
