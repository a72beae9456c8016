// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/ProcessTag.h"
#include "core/SabrixError.h"

namespace fs = std::filesystem;

namespace sabrix {

namespace {

constexpr int kMostLinks = 40;
constexpr int kMostNameTries = 100;

std::string Describe(const QIODevice& device, const char* fallback) {
    const QString why = device.errorString();
    return why.isEmpty() || why == QLatin1String("Unknown error") ? std::string(fallback)
                                                                  : why.toStdString();
}

std::string SystemError(int error) {
    return std::strerror(error);
}

}  // namespace

// A save through a link must update the file the user meant, not turn the link into a copy.
std::string ResolveLinks(const std::string& path) {
    fs::path current(path);
    for (int depth = 0; depth < kMostLinks; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)) || error) return current.string();
        const fs::path link = fs::read_symlink(current, error);
        if (error) return current.string();
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    throw SabrixError(SystemError(ELOOP));
}

namespace {

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::string RandomSuffix() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kChars[QRandomGenerator::global()->bounded(62)];
    return suffix;
}

// The tag in a temporary file's name: ".NAME.sabrix-<pid>-XXXXXX" carries "sabrix-<pid>-XXXXXX".
std::string_view TemporaryFileTag(std::string_view name) {
    if (name.empty() || name.front() != '.') return {};
    const auto dot = name.rfind(".sabrix-");
    return dot == 0 || dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// Creates a new, hidden file beside the target, named after this process so that a later
// write can tell it from a running one's when this process is killed before its rename. The
// mode 0666 lets the umask decide, as for any new file; an existing target passes its own bits
// on below.
int CreateTempFile(const std::string& target, std::string& tempPath) {
    const std::string prefix =
        FolderOf(target) + "/." + fs::path(target).filename().string() + "." + ProcessTagStart();
    for (int attempt = 0; attempt < kMostNameTries; ++attempt) {
        tempPath = prefix + RandomSuffix();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno == EEXIST) continue;
        const int error = errno;
        // A folder that is there but takes no new file (/proc, for one) says "No such file or
        // directory" of the file that could not be made: the folder is named instead.
        struct stat folder {};
        if (::stat(FolderOf(target).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode))
            throw SabrixError("no new file can be made in " + FolderOf(target) + " (" +
                              SystemError(error) + ")");
        throw SabrixError(SystemError(error));
    }
    throw SabrixError(SystemError(EEXIST));
}

// Gives the new file the old one's owner and group, as far as this process may (root may
// give any; a user only a group of their own), then its permission bits, which a change of
// owner may have cleared. What cannot be kept is left as a new file of this user gets it.
void TakeOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

// Writes all of data to fd from its start and cuts it there. Returns 0, or the system's error.
int WriteWhole(int fd, std::string_view data) {
    if (::lseek(fd, 0, SEEK_SET) != 0) return errno;
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : ENOSPC;
        data.remove_prefix(static_cast<size_t>(written));
    }
    if (::ftruncate(fd, ::lseek(fd, 0, SEEK_CUR)) != 0 || ::fsync(fd) != 0) return errno;
    return 0;
}

// The whole content of the file at path. Throws SabrixError when it cannot be read.
std::string ReadWhole(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SabrixError(SystemError(errno));
    std::string content;
    std::string piece(1 << 16, '\0');
    for (;;) {
        const ssize_t got = ::read(fd, piece.data(), piece.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            const int error = errno;
            ::close(fd);
            if (got < 0) throw SabrixError(SystemError(error));
            return content;
        }
        content.append(piece.data(), static_cast<size_t>(got));
    }
}

// Makes the rename itself durable. Some file systems refuse to sync a folder; the new content
// is complete and in place by then, so that refusal is no failure of the save.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

TempFile::TempFile(int fd) : fd_(fd) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TempFile::~TempFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool TempFile::writeAll(const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            setErrorString(QString::fromLocal8Bit(SystemError(written < 0 ? errno : ENOSPC)));
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

qint64 TempFile::writeData(const char* data, qint64 size) {
    if (!writeAll(data, size)) {
        writeFailed_ = true;
        return -1;
    }
    return size;
}

bool TempFile::sync() {
    // A pipe, a terminal or a device like /dev/null has nothing to sync and says so.
    if (::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS) return true;
    setErrorString(QString::fromLocal8Bit(SystemError(errno)));
    return false;
}

bool TempFile::closeFile() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    const int error = errno;
    fd_ = -1;
    QIODevice::close();
    if (result == 0) return true;
    setErrorString(QString::fromLocal8Bit(SystemError(error)));
    return false;
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
    return RemoveLeftoversOfEndedProcesses(folder, LeftoverKind::File, TemporaryFileTag);
}

AtomicFile::AtomicFile(const std::string& path, const TempFileFactory& makeTempFile)
    : target_(ResolveLinks(path)) {
    if (target_.empty()) throw SabrixError(SystemError(ENOENT));
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    int fd = -1;
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) {
        // A device or a pipe cannot be replaced by renaming a file over it (that would turn
        // /dev/null into a regular file); it is written in place, as cp writes it. A pipe
        // waits here for its reader.
        fd = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) throw SabrixError(SystemError(errno));
    } else {
        // As cp: a file the user may not write is not replaced, though the folder would let
        // the rename through.
        if (exists && S_ISREG(old.st_mode) && ::access(target_.c_str(), W_OK) != 0)
            throw SabrixError(SystemError(errno));
        RemoveStaleTemporaryFiles(FolderOf(target_));
        fd = CreateTempFile(target_, tempPath_);
        if (exists && S_ISREG(old.st_mode)) TakeOwnerAndMode(fd, old);
        // A rename would part the other names of the file from the new content.
        writeInPlaceLast_ = exists && S_ISREG(old.st_mode) && old.st_nlink > 1;
    }
    Adopt(fd, makeTempFile);
}

AtomicFile::AtomicFile(InPlace, int fd, std::string name, const TempFileFactory& makeTempFile)
    : target_(std::move(name)) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) throw SabrixError(SystemError(errno));
    Adopt(copy, makeTempFile);
}

void AtomicFile::Adopt(int fd, const TempFileFactory& makeTempFile) {
    try {
        file_ = makeTempFile ? makeTempFile(fd) : std::make_unique<TempFile>(fd);
    } catch (...) {
        ::close(fd);
        if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
        throw;
    }
}

AtomicFile::~AtomicFile() {
    if (!done_) discard();
}

QIODevice& AtomicFile::device() {
    return *file_;
}

void AtomicFile::discard() {
    file_->closeFile();
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    done_ = true;
}

void AtomicFile::commit() {
    if (done_) throw SabrixError("The file was already written.");
    const auto fail = [this](const std::string& why) {
        discard();
        throw SabrixError(why);
    };
    if (file_->writeFailed()) fail(Describe(*file_, "Write error"));
    // Without the sync a crash soon after the rename could leave the target empty on disk.
    if (!file_->sync()) fail(Describe(*file_, "Cannot write file"));
    if (!file_->closeFile()) fail(Describe(*file_, "Cannot write file"));
    if (inPlace()) {
        done_ = true;
        return;
    }
    if (writeInPlaceLast_) {
        commitInPlace();
        return;
    }
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0) fail(SystemError(errno));
    done_ = true;
    SyncFolder(FolderOf(target_));
}

void AtomicFile::commitInPlace() {
    // The new content is whole in the temporary file; the old one is held in memory while the
    // target is overwritten, and put back when that fails.
    const auto fail = [this](const std::string& why) {
        discard();
        throw SabrixError(why);
    };
    std::string content;
    std::string old;
    try {
        content = ReadWhole(tempPath_);
        old = ReadWhole(target_);
    } catch (const SabrixError& e) {
        fail(e.what());
    }
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) fail(SystemError(errno));
    const int error = WriteWhole(fd, content);
    if (error != 0) WriteWhole(fd, old);
    const int closed = ::close(fd) == 0 ? 0 : errno;
    if (error != 0 || closed != 0) fail(SystemError(error != 0 ? error : closed));
    ::unlink(tempPath_.c_str());
    done_ = true;
}

void WriteAllBytes(QIODevice& out, std::string_view bytes) {
    const char* data = bytes.data();
    qint64 left = static_cast<qint64>(bytes.size());
    while (left > 0) {
        const qint64 written = out.write(data, left);
        if (written <= 0) throw SabrixError(Describe(out, "Write error"));
        data += written;
        left -= written;
    }
}

void WriteFileAtomically(const std::string& path, const std::function<void(QIODevice&)>& writer,
                         const TempFileFactory& makeTempFile) {
    AtomicFile file(path, makeTempFile);
    writer(file.device());
    file.commit();
}

void WriteProgramFile(const std::string& path, std::string_view text) {
    try {
        WriteFileAtomically(path, [text](QIODevice& out) { WriteAllBytes(out, text); });
    } catch (const SabrixError& e) {
        throw SabrixError("Cannot write " + path + ": " + e.what());
    }
}

namespace {

// Copies what is left to read of source to out, in pieces through one buffer: a file of many
// megabytes needs no copy in memory.
void CopyDescriptor(int source, QIODevice& out) {
    std::string piece(1 << 20, '\0');
    for (;;) {
        const ssize_t got = ::read(source, piece.data(), piece.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw SabrixError(SystemError(errno));
        if (got == 0) break;
        WriteAllBytes(out, std::string_view(piece.data(), static_cast<size_t>(got)));
    }
}

struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

}  // namespace

void CopyFileAtomically(const std::string& from, const std::string& to) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) throw SabrixError(SystemError(errno));
    const Closer closer{source};
    WriteFileAtomically(to, [source](QIODevice& out) { CopyDescriptor(source, out); });
}

void AppendFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    if (!file.inPlace()) {
        const int old = ::open(file.target().c_str(), O_RDONLY | O_CLOEXEC);
        if (old < 0 && errno != ENOENT) throw SabrixError(SystemError(errno));
        if (old >= 0) {
            const Closer closer{old};
            CopyDescriptor(old, file.device());
        }
    }
    WriteAllBytes(file.device(), bytes);
    file.commit();
}

}  // namespace sabrix
