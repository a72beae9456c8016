// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/WorkingDatabase.h"

#include <sys/resource.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"

namespace fs = std::filesystem;

namespace sabrix {

namespace {

// SQLite keeps a hot journal beside the database after a crash and would roll it back into
// whatever file later carries the database's name, fresh copy included.
constexpr std::array<const char*, 3> kJournalSuffixes = {"-journal", "-wal", "-shm"};

FatalFileError WorkingDatabaseError(const std::string& path, const std::string& what,
                                    const std::string& reason) {
    return FatalFileError("The working database " + path + " could not be " + what + " (" + reason +
                              "). Sabrix needs a program folder it can write to.",
                          QStringLiteral("Working Database Error"), Icon::Critical);
}

// True when the process may not write a file of size bytes (ulimit -f).
bool BeyondFileSizeLimit(std::uintmax_t size) {
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           size > limit.rlim_cur;
}

// A copy cut short by the process's file size limit (ulimit -f) is no fault of the folder.
// The copy says EFBIG, or only that fewer bytes than the file's were written (EIO).
FatalFileError WorkingDatabaseError(const std::string& path, const std::string& what,
                                    const std::error_code& error, std::uintmax_t size) {
    if (error == std::errc::file_too_large || BeyondFileSizeLimit(size))
        return FatalFileError("The working database " + path + " could not be " + what +
                                  " (file size limit exceeded). Sabrix needs to write files "
                                  "larger than the limit that it was started with (ulimit -f).",
                              QStringLiteral("Working Database Error"), Icon::Critical);
    return WorkingDatabaseError(path, what,
                                error ? error.message() : std::string("unknown reason"));
}

void DeletePath(const std::string& path) {
    std::error_code error;
    const auto status = fs::symlink_status(path, error);
    if (!fs::exists(status)) return;
    if (fs::is_directory(status)) {
        throw WorkingDatabaseError(path, "deleted", "a folder of that name is in the way");
    }
    if (!DeleteFile(path)) {
        fs::remove(path, error);
        throw WorkingDatabaseError(path, "deleted",
                                   error ? error.message() : std::string("unknown reason"));
    }
}

}  // namespace

void PrepareWorkingDatabase(const std::string& programDir, AppState& state) {
    state.star.FilesFolder = FilesFolderPath(programDir);
    if (!FolderExists(state.star.FilesFolder)) CreateFolder(state.star.FilesFolder);
    ReplaceWithTemplate(TemplateDatabasePath(programDir), WorkingDatabasePath(programDir));
}

void ReplaceWithTemplate(const std::string& templatePath, const std::string& workingPath) {
    if (!FileExists(templatePath)) {
        throw FatalFileError("Database template " + templatePath + " missing.",
                             QStringLiteral("File Missing"), Icon::Critical);
    }
    // Deleting first rather than overwriting: an old copy may be read-only (the template's
    // permissions travel with a copy), and overwriting a read-only file is refused.
    DeleteDatabaseFiles(workingPath);
    std::error_code error;
    if (!fs::copy_file(templatePath, workingPath, fs::copy_options::overwrite_existing, error)) {
        std::error_code sizeError;
        const std::uintmax_t size = fs::file_size(templatePath, sizeError);
        throw WorkingDatabaseError(workingPath, "created", error, sizeError ? 0 : size);
    }
    // A template installed read-only would otherwise give a working database nobody can
    // store a row in.
    fs::permissions(workingPath, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::add, error);
    if (error) throw WorkingDatabaseError(workingPath, "made writable", error.message());
}

void DeleteWorkingDatabase(const std::string& programDir) {
    DeleteDatabaseFiles(WorkingDatabasePath(programDir));
}

void DeleteDatabaseFiles(const std::string& workingPath) {
    DeletePath(workingPath);
    for (const char* suffix : kJournalSuffixes) DeletePath(workingPath + suffix);
}

void ResetStarState(AppState& state) {
    state.settings.FilePath.clear();
    state.star.StarName.clear();
    state.star.RecordCount = 0;
    state.star.FileLoaded = false;
    state.star.FileEdited = false;
    state.star.ThreeColumnFormat = false;
    state.star.BackupMade = false;
    state.star.HiddenBands.clear();
    state.star.TimeOffset = 0;

    OverlayState& overlay = state.overlay;
    if (overlay.BoxMode()) overlay.tool = Tool::Locate;

    PlotWindowState& view = state.view;
    view.MagFaintest = 0;
    view.MagBrightest = 0;
    view.JDLast = 0;
    view.JDFirst = 0;
    view.WinMagBottom = 0;
    view.WinMagTop = 0;
    view.WinJDRight = 0;
    view.WinJDLeft = 0;
    view.WinJDWidth = 0;
    view.WinMagHeight = 0;
    view.JDMagnification = 1.0f;
    view.MagMagnification = 1.0f;
}

InstanceLock::InstanceLock(const std::string& programDir) : dir_(programDir) {}

InstanceLock::~InstanceLock() {
    if (lock_) lock_->unlock();
}

InstanceLock::Result InstanceLock::tryLock() {
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(dir_ + "/Sabrix.lock"));
    // A running copy may hold the lock for days; only a dead owner makes the lock stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return Result::Acquired;
    const auto error = lock_->error();
    lock_.reset();
    return error == QLockFile::LockFailedError ? Result::HeldByOther : Result::Unavailable;
}

QString InstanceLock::refusalText() const {
    return QStringLiteral("Sabrix is already running with the program folder ") +
           DisplayText(dir_) +
           QStringLiteral(
               ".\r\nOnly one copy of Sabrix can use that folder at a time; "
               "switch to the running copy or close it first.");
}

}  // namespace sabrix
