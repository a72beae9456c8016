#include <gtest/gtest.h>

#include <QDir>

#include "core/AtomicFile.h"
#include "core/SabrixError.h"
#include "support/FailingDevice.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {
int FilesIn(const std::string& folder) {
    return static_cast<int>(
        QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden).size());
}
}  // namespace

TEST(WriteFileAtomically, ReplacesTheTargetOnlyWhenTheWholeContentWasWritten) {
    test::TempProgramDir dir(false);
    const std::string path = dir.file("star.txt");
    const std::string old = "line one\r\nline two, longer than the new one\r\n\xE9\r\n";
    test::WriteFileBytes(path, old);
    EXPECT_THROW(WriteFileAtomically(path,
                                     [](QIODevice& out) {
                                         WriteAllBytes(out, "half of the new");
                                         throw SabrixError("No space left on device");
                                     }),
                 SabrixError);
    EXPECT_EQ(test::ReadFileBytes(path), old);
    EXPECT_EQ(FilesIn(dir.path()), 1);  // no temporary file left behind
    WriteFileAtomically(path, [](QIODevice& out) { WriteAllBytes(out, "new\r\n"); });
    EXPECT_EQ(test::ReadFileBytes(path), "new\r\n");
    EXPECT_EQ(FilesIn(dir.path()), 1);
    EXPECT_THROW(WriteFileAtomically(dir.file("missing/star.txt"),
                                     [](QIODevice& out) { WriteAllBytes(out, "x"); }),
                 SabrixError);
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
