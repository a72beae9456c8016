// SPDX-License-Identifier: GPL-3.0-or-later
// A second start of the program with a file, while a copy runs with the same program folder:
// the running copy loads the file, the second start ends at once.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <string>

#include "core/Preferences.h"
#include "core/SettingsFile.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

// A running copy and the later starts that hand it their files.
class SecondStart : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteSettings(home.path(), DefaultSettings(home.path()));
        env.insert("SABRIX_HOME", QString::fromStdString(home.path()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        first.setProcessEnvironment(env);
        first.start(QString::fromUtf8(SABRIX_EXECUTABLE), {});
        const auto listening = [&] {
            for (const auto& entry : fs::directory_iterator(runtime.path()))
                if (entry.path().filename().string().rfind("sabrix-", 0) == 0) return true;
            return false;
        };
        ASSERT_TRUE(QTest::qWaitFor(listening, 30000))
            << first.readAllStandardError().toStdString();
    }
    void TearDown() override {
        EXPECT_EQ(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished(10000);
    }
    void StartAgain(const QStringList& args) {
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QString::fromUtf8(SABRIX_EXECUTABLE), args);
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(second.readAllStandardError().toStdString(), "");
    }
    // A successful load puts the file first in the list of recent files.
    bool Loaded(const std::string& file) {
        return QTest::qWaitFor(
            [&] {
                const Preferences kept = ReadPreferences(home.path());
                return !kept.RecentFiles.empty() && kept.RecentFiles.front().path == file;
            },
            30000);
    }

    test::TempProgramDir home;
    test::TempProgramDir runtime{false};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess first;
};

TEST_F(SecondStart, HandsItsFileToTheRunningCopyWhichLoadsIt) {
    const std::string star = home.file("rw aur.txt");
    fs::copy_file(test::SampleFile("download-ccd.txt"), star);
    StartAgain({QString::fromStdString(star)});
    EXPECT_TRUE(Loaded(star));
}

// The options stayed behind: a star file named ".dat" was read as a three-column file and
// refused, though the later start said --star-file.
TEST_F(SecondStart, HandsOverTheOptionsOfItsCommandLineWithTheFile) {
    const std::string star = home.file("rw aur.dat");
    fs::copy_file(test::SampleFile("download-ccd.txt"), star);
    StartAgain({QString::fromStdString(star), "--star-file"});
    EXPECT_TRUE(Loaded(star));
    EXPECT_EQ(ReadPreferences(home.path()).RecentFiles.front().kind, ObservationFileKind::StarFile);
}

}  // namespace
}  // namespace sabrix
