// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/AtomicFile.h"
#include "core/SabrixError.h"
#include "support/DeathTestFolder.h"
#include "support/EndedProcess.h"
#include "support/FailingDevice.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {

int FilesIn(const std::string& folder) {
    return static_cast<int>(
        QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden).size());
}

enum class FailAt { Write, Sync, Close };

// The temporary file of a disk that fails at one chosen step.
class FailingTempFile : public TempFile {
  public:
    FailingTempFile(int fd, FailAt at, qint64 acceptBytes)
        : TempFile(fd), at_(at), left_(acceptBytes) {}

    bool sync() override {
        if (at_ != FailAt::Sync) return TempFile::sync();
        setErrorString(QStringLiteral("Input/output error"));
        return false;
    }
    bool closeFile() override {
        const bool closed = TempFile::closeFile();
        if (at_ != FailAt::Close) return closed;
        setErrorString(QStringLiteral("Input/output error"));
        return false;
    }

  protected:
    bool writeAll(const char* data, qint64 size) override {
        if (at_ != FailAt::Write) return TempFile::writeAll(data, size);
        const qint64 part = std::min(size, left_);
        left_ -= part;
        if (part > 0 && !TempFile::writeAll(data, part)) return false;
        if (part == size) return true;
        setErrorString(QStringLiteral("No space left on device"));
        return false;
    }

  private:
    FailAt at_;
    qint64 left_;
};

// Dies the hard way once the new content is complete and closed, before it replaces the
// target.
class KilledBeforeRename : public TempFile {
  public:
    using TempFile::TempFile;
    bool closeFile() override {
        TempFile::closeFile();
        std::raise(SIGKILL);
        return false;
    }
};

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What is waiting in a pipe, read without waiting for more.
std::string Drain(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(got));
    return bytes;
}

// Runs what in a child process that has become the user uid (with the group of the same
// number), and gives back the text it returned.
std::string AsUser(uid_t uid, const std::function<std::string()>& what) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        std::string said = "cannot become the user";
        if (::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0) said = what();
        [[maybe_unused]] const ssize_t written = ::write(fds[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    const std::string said = Drain(fds[0]);
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return said;
}

const std::string kOld = "line one\r\nline two, longer than the new one\r\n\xE9\r\n";
const std::string kNew(3000, 'n');

}  // namespace

TEST(WriteFileAtomically, ReplacesTheTargetOnlyWhenTheWholeContentWasWritten) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("star.txt");
    test::WriteFileBytes(path, kOld);
    EXPECT_THROW(WriteFileAtomically(path,
                                     [](QIODevice& out) {
                                         WriteAllBytes(out, "half of the new");
                                         throw SabrixError("No space left on device");
                                     }),
                 SabrixError);
    EXPECT_EQ(test::ReadFileBytes(path), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1);  // no temporary file left behind
    WriteFileAtomically(path, [](QIODevice& out) { WriteAllBytes(out, "new\r\n"); });
    EXPECT_EQ(test::ReadFileBytes(path), "new\r\n");
    EXPECT_EQ(FilesIn(dir.path()), 1);
    EXPECT_THROW(WriteFileAtomically(dir.file("missing/star.txt"),
                                     [](QIODevice& out) { WriteAllBytes(out, "x"); }),
                 SabrixError);
}

TEST(WriteFileAtomically, FailedWriteSyncOrCloseLeavesTheTargetAndNoTemporaryFile) {
    const struct {
        FailAt at;
        qint64 acceptBytes;
        const char* why;
    } cases[] = {{FailAt::Write, 0, "No space left on device"},
                 {FailAt::Write, 2999, "No space left on device"},
                 {FailAt::Sync, 0, "Input/output error"},
                 {FailAt::Close, 0, "Input/output error"}};
    for (const auto& c : cases) {
        for (const bool targetExists : {true, false}) {
            SCOPED_TRACE(testing::Message() << "fail at " << int(c.at) << " after " << c.acceptBytes
                                            << ", target exists " << targetExists);
            test::TempProgramDir dir(false);
            const std::string path = dir.file("star.txt");
            if (targetExists) test::WriteFileBytes(path, kOld);
            const TempFileFactory failing = [&c](int fd) {
                return std::make_unique<FailingTempFile>(fd, c.at, c.acceptBytes);
            };
            try {
                WriteFileAtomically(
                    path, [](QIODevice& out) { WriteAllBytes(out, kNew); }, failing);
                ADD_FAILURE() << "no exception";
            } catch (const SabrixError& e) {
                EXPECT_EQ(std::string(e.what()), c.why);
            }
            EXPECT_EQ(std::filesystem::exists(path), targetExists);
            if (targetExists) {
                EXPECT_EQ(test::ReadFileBytes(path), kOld);
            }
            EXPECT_EQ(FilesIn(dir.path()), targetExists ? 1 : 0);
        }
    }
}

TEST(WriteFileAtomically, WriterThatIgnoresAFailedWriteStillFails) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("plot.png");
    test::WriteFileBytes(path, kOld);
    const TempFileFactory failing = [](int fd) {
        return std::make_unique<FailingTempFile>(fd, FailAt::Write, 10);
    };
    EXPECT_THROW(WriteFileAtomically(
                     path, [](QIODevice& out) { out.write(kNew.data(), 100); }, failing),
                 SabrixError);
    EXPECT_EQ(test::ReadFileBytes(path), kOld);
}

TEST(WriteFileAtomically, FullDiskLeavesTheTargetAsItWas) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("star.txt");
    test::WriteFileBytes(path, kOld);
    {
        test::FileSizeLimit fullAfter(1000);
        try {
            WriteFileAtomically(path, [](QIODevice& out) { WriteAllBytes(out, kNew); });
            ADD_FAILURE() << "no exception";
        } catch (const SabrixError& e) {
            EXPECT_EQ(std::string(e.what()), std::strerror(EFBIG));
        }
    }
    EXPECT_EQ(test::ReadFileBytes(path), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(WriteFileAtomically, TargetThatIsAFolderIsRefusedAndKept) {
    test::TempProgramDir dir(false);
    const std::string folder = dir.file("star.txt");
    std::filesystem::create_directory(folder);
    test::WriteFileBytes(folder + "/inside", kOld);
    EXPECT_THROW(WriteFileAtomically(folder, [](QIODevice& out) { WriteAllBytes(out, kNew); }),
                 SabrixError);
    EXPECT_EQ(test::ReadFileBytes(folder + "/inside"), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 0);
}

TEST(WriteFileAtomically, LinkedTargetIsReplacedThroughTheLinkAndKeepsItsPermissions) {
    test::TempProgramDir dir(false);
    const std::string real = dir.file("real.txt");
    const std::string link = dir.file("star.txt");
    test::WriteFileBytes(real, kOld);
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink("real.txt", link);
    WriteFileAtomically(link, [](QIODevice& out) { WriteAllBytes(out, "new"); });
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadFileBytes(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// A user's save replaced a file of mode 444 and a root-owned file of the user's folder; root's
// save left the user's file owned by root, out of the user's reach.
TEST(WriteFileAtomically, FileTheUserMayNotWriteIsRefusedAndAReplacedOneKeepsItsOwner) {
    const bool root = ::geteuid() == 0;
    constexpr uid_t kUser = 65534;
    const uid_t user = root ? kUser : ::geteuid();
    const gid_t group = root ? kUser : ::getegid();
    test::TempProgramDir dir(false);
    ::chmod(dir.path().c_str(), 0711);
    const std::string folder = dir.file("user");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chown(folder.c_str(), user, group), 0);
    const auto make = [&](const std::string& name, mode_t mode, bool users) {
        const std::string path = folder + "/" + name;
        test::WriteFileBytes(path, kOld);
        if (users) {
            EXPECT_EQ(::chown(path.c_str(), user, group), 0);
        }
        ::chmod(path.c_str(), mode);
        return path;
    };
    const auto save = [](const std::string& path) {
        return [path] {
            try {
                WriteProgramFile(path, "new");
                return std::string("written");
            } catch (const SabrixError& e) {
                return std::string(e.what());
            }
        };
    };
    const auto asUser = [&](const std::function<std::string()>& what) {
        return root ? AsUser(user, what) : what();
    };
    std::vector<std::string> refused = {make("read-only.txt", 0444, true)};
    if (root) refused.push_back(make("root's.txt", 0644, false));
    for (const std::string& path : refused) {
        EXPECT_EQ(asUser(save(path)), "Cannot write " + path + ": " + std::strerror(EACCES));
        EXPECT_EQ(test::ReadFileBytes(path), kOld);
    }
    const std::string own = make("own.txt", 0600, true);
    EXPECT_EQ(asUser(save(own)), "written");
    if (!root) GTEST_SKIP() << "a second user needs root";
    WriteProgramFile(own, "root's");
    struct stat st {};
    ASSERT_EQ(::stat(own.c_str(), &st), 0);
    EXPECT_EQ(std::make_tuple(st.st_uid, st.st_gid, st.st_mode & 07777),
              std::make_tuple(user, group, mode_t{0600}));
    EXPECT_EQ(asUser([&] { return test::ReadFileBytes(own); }), "root's");
    EXPECT_EQ(FilesIn(folder), 3);
}

// "--out /proc/version" said "No such file or directory" of a file that is there.
TEST(WriteFileAtomically, FolderThatTakesNoNewFileIsNamed) {
    struct stat st {};
    if (::stat("/proc/version", &st) != 0) GTEST_SKIP() << "no /proc";
    try {
        WriteFileAtomically("/proc/version", [](QIODevice& out) { WriteAllBytes(out, "x"); });
        FAIL() << "written";
    } catch (const SabrixError& e) {
        const std::string why = e.what();
        EXPECT_TRUE(why == std::strerror(EACCES) || why == "no new file can be made in /proc (" +
                                                               std::string(std::strerror(ENOENT)) +
                                                               ")")
            << why;
    }
}

// A rename over a file with a second name left that name with the old content.
TEST(WriteFileAtomically, FileWithSeveralNamesGetsTheNewContentUnderEach) {
    test::TempProgramDir dir(false);
    const std::string first = dir.file("first.txt");
    const std::string second = dir.file("second.txt");
    test::WriteFileBytes(first, kOld);
    std::filesystem::create_hard_link(first, second);
    EXPECT_THROW(WriteFileAtomically(
                     second, [](QIODevice& out) { WriteAllBytes(out, kNew); },
                     [](int fd) { return std::make_unique<FailingTempFile>(fd, FailAt::Sync, 0); }),
                 SabrixError);
    EXPECT_EQ(test::ReadFileBytes(first), kOld);
    WriteFileAtomically(second, [](QIODevice& out) { WriteAllBytes(out, kNew); });
    AppendFileAtomically(first, "end");
    for (const std::string& name : {first, second})
        EXPECT_EQ(test::ReadFileBytes(name), kNew + "end");
    EXPECT_EQ(std::filesystem::hard_link_count(first), 2u);
    EXPECT_EQ(FilesIn(dir.path()), 2);
}

TEST(AtomicFileDeathTest, KillBetweenWritingAndRenamingLeavesTheOldFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::DeathTestFolder dir;
    const std::string path = dir.file("star.txt");
    test::WriteFileBytes(path, kOld);
    EXPECT_EXIT(WriteFileAtomically(
                    path, [](QIODevice& out) { WriteAllBytes(out, kNew); },
                    [](int fd) { return std::make_unique<KilledBeforeRename>(fd); }),
                testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(test::ReadFileBytes(path), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 2);  // the old file and the new one that was never renamed
    // The killed process's temporary file goes with the next write to that folder.
    WriteFileAtomically(dir.file("other.txt"), [](QIODevice& out) { WriteAllBytes(out, "x"); });
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"other.txt", "star.txt"}));
}

TEST(WriteFileAtomically, TemporaryFilesOfEndedProcessesAloneAreRemoved) {
    test::TempProgramDir dir(false);
    const std::string ended = std::to_string(test::EndedProcess());
    const std::string own = std::to_string(::getpid());
    const std::vector<std::string> kept = {
        ".star.txt.sabrix-" + own + "-Qw9rTy",       // this process: a write under way
        ".star.txt.sabrix-1-Zz0000",                 // a process that runs
        ".star.txt.Ab3xYz",                          // an older writer's name: unknown
        "star.txt.sabrix-" + ended + "-Ab3xYz",      // not hidden: a user's file
        ".star.txt.sabrix-" + ended + "-toolong7"};  // not a temporary file's tag
    for (const auto& name : kept) test::WriteFileBytes(dir.file(name), "kept");
    test::WriteFileBytes(dir.file(".star.txt.sabrix-" + ended + "-Ab3xYz"), "stale");
    test::WriteFileBytes(dir.file(".plot.png.sabrix-" + ended + "-x9Y8z7"), "stale");
    std::filesystem::create_directory(dir.file(".folder.sabrix-" + ended + "-Ab3xYz"));

    std::vector<std::string> during;
    WriteFileAtomically(dir.file("star.txt"), [&](QIODevice& out) {
        during = Names(dir.path());
        WriteAllBytes(out, "new");
    });
    // The new temporary file carried this process's id while it was written.
    const std::string prefix = ".star.txt.sabrix-" + own + "-";
    EXPECT_EQ(std::count_if(during.begin(), during.end(),
                            [&](const std::string& n) {
                                return n.rfind(prefix, 0) == 0 && n.size() == prefix.size() + 6;
                            }),
              2);  // the one of this write and the one kept above
    std::vector<std::string> want = kept;
    want.push_back(".folder.sabrix-" + ended + "-Ab3xYz");  // a folder is no temporary file
    want.push_back("star.txt");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Names(dir.path()), want);
}

// A device or a pipe as the target was replaced by a regular file: /dev/null became a PNG.
TEST(WriteFileAtomically, PipeIsWrittenInPlaceAndStaysAPipe) {
    test::TempProgramDir dir(false);
    const std::string fifo = dir.file("out.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader that is there before the writer: the writer's open does not wait, and a
    // writer that renamed instead would leave the reader with nothing rather than hang.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::filesystem::create_symlink("out.fifo", dir.file("link"));
    WriteFileAtomically(fifo, [](QIODevice& out) { WriteAllBytes(out, "first "); });
    WriteFileAtomically(dir.file("link"), [](QIODevice& out) { WriteAllBytes(out, "second"); });
    EXPECT_EQ(Drain(reader), "first second");
    ::close(reader);
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"link", "out.fifo"}));
}

TEST(WriteFileAtomically, DeviceIsWrittenInPlaceAndItsRefusalReported) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    test::TempProgramDir dir(false);
    const std::string null = dir.file("mynull");
    const std::string full = dir.file("myfull");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device nodes here: " << std::strerror(errno);
    ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    WriteFileAtomically(null, [](QIODevice& out) { WriteAllBytes(out, kNew); });
    try {
        WriteFileAtomically(full, [](QIODevice& out) { WriteAllBytes(out, kNew); });
        ADD_FAILURE() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), std::strerror(ENOSPC));
    }
    for (const std::string& device : {null, full}) {
        struct stat st {};
        ASSERT_EQ(::lstat(device.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << device;
    }
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"myfull", "mynull"}));
}

TEST(AtomicFile, OpenDescriptorIsWrittenInPlaceAndStaysOpen) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    {
        AtomicFile file(AtomicFile::InPlace{}, ends[1], "-");
        EXPECT_TRUE(file.inPlace());
        WriteAllBytes(file.device(), "to the pipe");
        file.commit();
    }
    EXPECT_EQ(::write(ends[1], "!", 1), 1);
    ::close(ends[1]);
    EXPECT_EQ(Drain(ends[0]), "to the pipe!");
    ::close(ends[0]);
}

TEST(AppendFileAtomically, AddsToTheEndOrLeavesTheFileWhole) {
    test::TempProgramDir dir(false);
    const std::string log = dir.file("log.txt");
    AppendFileAtomically(log, "one\r\n");
    AppendFileAtomically(log, "two\r\n");
    EXPECT_EQ(test::ReadFileBytes(log), "one\r\ntwo\r\n");
    {
        test::FileSizeLimit fullAfter(8);
        EXPECT_THROW(AppendFileAtomically(log, "three\r\n"), SabrixError);
    }
    EXPECT_EQ(test::ReadFileBytes(log), "one\r\ntwo\r\n");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"log.txt"});
}

TEST(WriteAllBytes, DeviceThatRefusesReportsItsReason) {
    test::FailingDevice device(4);
    try {
        WriteAllBytes(device, "0123456789");
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_EQ(std::string(e.what()), "No space left on device");
    }
    EXPECT_EQ(device.written(), "0123");
}

TEST(CopyFileAtomically, CopiesBytesAndKeepsTargetWhenSourceIsMissing) {
    test::TempProgramDir dir(false);
    const std::string bytes("a\0b\r\n", 5);
    test::WriteFileBytes(dir.file("a.txt"), bytes);
    CopyFileAtomically(dir.file("a.txt"), dir.file("a.bak"));
    EXPECT_THROW(CopyFileAtomically(dir.file("gone.txt"), dir.file("a.bak")), SabrixError);
    EXPECT_EQ(test::ReadFileBytes(dir.file("a.bak")), bytes);
}

}  // namespace sabrix
