#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <csignal>
#include <filesystem>

#include "core/AtomicFile.h"
#include "core/SabrixError.h"
#include "support/DeathTestFolder.h"
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
            EXPECT_EQ(std::string(e.what()), "File too large");
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
