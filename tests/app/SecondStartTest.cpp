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

TEST(SecondStart, HandsItsFileToTheRunningCopyWhichLoadsIt) {
    test::TempProgramDir home;
    test::TempProgramDir runtime(false);
    WriteSettings(home.path(), DefaultSettings(home.path()));
    const std::string star = home.file("rw aur.txt");
    fs::copy_file(test::SampleFile("download-ccd.txt"), star);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SABRIX_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QString::fromUtf8(SABRIX_EXECUTABLE), {});
    const auto listening = [&] {
        for (const auto& entry : fs::directory_iterator(runtime.path()))
            if (entry.path().filename().string().rfind("sabrix-", 0) == 0) return true;
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor(listening, 30000)) << first.readAllStandardError().toStdString();

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QString::fromUtf8(SABRIX_EXECUTABLE), {QString::fromStdString(star)});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardError().toStdString(), "");

    // A successful load puts the file first in the list of recent files.
    const auto loaded = [&] {
        const Preferences kept = ReadPreferences(home.path());
        return !kept.RecentFiles.empty() && kept.RecentFiles.front().path == star;
    };
    EXPECT_TRUE(QTest::qWaitFor(loaded, 30000));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

}  // namespace
}  // namespace sabrix
