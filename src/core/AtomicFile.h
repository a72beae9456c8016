// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a user's file without ever leaving it half written. The new content goes to a
// temporary file in the target's folder; every write, the sync to the disk and the close of
// that file are checked, and only then is it renamed over the target. On any failure the
// target keeps its old content byte for byte and the temporary file is removed. The temporary
// file is named after the target and this process (".star.txt.sabrix-4711-Ab3xYz"); one that a
// killed process left behind is removed by the next write to the same folder.
//
// A target that exists and is no regular file (a device such as /dev/null, a named pipe, or
// a link to one) cannot be replaced: it is written in place, as cp writes it, with the same
// checks of every write and of the close. So is an open descriptor such as standard output.
// What a failed write in place has already written stays written.
//
// Every file the program writes (star files, three-column files, backups, Errors.txt,
// Sabrix.ini, Sabrix.prefs, images) goes through AtomicFile, directly or through
// WriteFileAtomically.
#pragma once

#include <QIODevice>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace sabrix {

// The file behind an AtomicFile (the temporary file, or the target written in place): an
// unbuffered device on a file descriptor, so that
// a write the system refuses (a full disk, a file-size limit) fails at once and is seen by the
// caller. Tests derive from it to fail a write, the sync or the close on purpose.
class TempFile : public QIODevice {
  public:
    // Takes over fd, a descriptor open for writing. The device is open write-only.
    explicit TempFile(int fd);
    ~TempFile() override;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Pushes what was written to the disk. Returns false, with errorString() set to the
    // system's description, when the system reports a failure; true for a pipe or a device
    // that has nothing to push.
    virtual bool sync();
    // Closes the descriptor. Returns false, with errorString() set, when the system reports a
    // failure (some file systems report a failed write only here). The descriptor is closed
    // either way.
    virtual bool closeFile();
    // True once any write has failed, even when the writer went on as if it had not.
    bool writeFailed() const { return writeFailed_; }

  protected:
    // Writes all bytes to the descriptor. Returns false, with errorString() set, when the
    // system refuses part of them.
    virtual bool writeAll(const char* data, qint64 size);
    int fd() const { return fd_; }

  private:
    qint64 readData(char*, qint64) final { return -1; }
    qint64 writeData(const char* data, qint64 size) final;

    int fd_;
    bool writeFailed_ = false;
};

// Makes the TempFile for a newly opened descriptor; the default makes a plain TempFile.
using TempFileFactory = std::function<std::unique_ptr<TempFile>(int fd)>;

// One checked replacement of a file. Construct, write to device(), then commit().
// Destroying it without a successful commit() removes the temporary file and leaves the
// target as it was.
//
// A target that is a symbolic link is resolved: the file it points to is replaced and the
// link stays. A target that exists keeps its permission bits, and its owner and group as far
// as the process may set them; a new one gets the usual ones (0666 less the umask). A target
// the user may not write is refused, as cp refuses it. A target with more than one name (hard
// links) is written in place at commit, so that every name shows the new content; the old
// content is put back when that write fails.
class AtomicFile {
  public:
    // Creates the temporary file beside path (or beside the file path links to), after removing
    // the stale temporary files of that folder (RemoveStaleTemporaryFiles); or opens path for
    // writing in place when it is a device or a pipe (a pipe waits for its reader). Throws
    // SabrixError with the system's description when the file cannot be created or opened (a
    // missing or read-only folder, a device that refuses, a file the user may not write).
    explicit AtomicFile(const std::string& path, const TempFileFactory& makeTempFile = {});
    // Writes in place to an open descriptor (standard output: STDOUT_FILENO) through a copy of
    // it; fd itself stays open. name is what target() gives. Throws SabrixError when the
    // descriptor cannot be copied.
    struct InPlace {};
    AtomicFile(InPlace, int fd, std::string name, const TempFileFactory& makeTempFile = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The device that receives the new content. Writes fail as the system's writes do.
    QIODevice& device();
    // Syncs and closes the temporary file, then renames it over the target. Returns when the
    // target holds exactly what was written. Throws SabrixError with the system's description
    // when a write before failed or the sync, the close or the rename fails; the target is
    // then unchanged and the temporary file removed. Written in place: syncs (where the file
    // can be synced) and closes, and throws when a write, the sync or the close failed.
    // Calling it twice is a failure.
    void commit();

    // The file that commit() replaces: the given path with symbolic links resolved.
    const std::string& target() const { return target_; }
    // True when the target is written in place rather than replaced.
    bool inPlace() const { return tempPath_.empty(); }

  private:
    void Adopt(int fd, const TempFileFactory& makeTempFile);
    void discard();
    void commitInPlace();

    std::string target_;
    std::string tempPath_;
    std::unique_ptr<TempFile> file_;
    bool writeInPlaceLast_ = false;
    bool done_ = false;
};

// The file that a write to path replaces: path with its symbolic links followed (the last
// one may point to no file yet). Throws SabrixError when the links go round in a loop.
std::string ResolveLinks(const std::string& path);

// Removes the temporary files of AtomicFiles in folder whose processes have ended (see
// RemoveLeftoversOfEndedProcesses). Returns the number removed; never throws.
int RemoveStaleTemporaryFiles(const std::string& folder);

// Replaces path with what writer writes, through an AtomicFile. Throws as AtomicFile does;
// an exception from writer is passed on after the temporary file was removed. In every
// failure path stays unchanged.
void WriteFileAtomically(const std::string& path, const std::function<void(QIODevice&)>& writer,
                         const TempFileFactory& makeTempFile = {});

// Replaces path with the bytes of text, through an AtomicFile: a small file of the program's
// own (Sabrix.ini, Sabrix.prefs). Throws SabrixError "Cannot write PATH: REASON"; path is then
// unchanged.
void WriteProgramFile(const std::string& path, std::string_view text);

// Copies the file from to the file to, replacing to atomically (see WriteFileAtomically).
// Throws SabrixError when from cannot be read or to cannot be written; to is then unchanged.
void CopyFileAtomically(const std::string& from, const std::string& to);

// Adds bytes at the end of the file at path (a new file when there is none) through an
// AtomicFile: the old content and the new bytes go to the temporary file, which then replaces
// the file, so a full disk or a kill never leaves a partial addition. A device or a pipe is
// written in place. Throws SabrixError with the system's description when the old content
// cannot be read or the new file cannot be written; path is then unchanged.
void AppendFileAtomically(const std::string& path, std::string_view bytes);

// Writes all bytes to out. Throws SabrixError with the device's description when it refuses
// a write; out may then hold the bytes written before.
void WriteAllBytes(QIODevice& out, std::string_view bytes);

}  // namespace sabrix
