// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ScratchFolder.h"
#include "support/DeathTestFolder.h"
#include "support/EndedProcess.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using test::EndedProcess;

}  // namespace

TEST(ScratchFolder, StaleFoldersOfEndedRunsAreRemovedAndAllOthersKept) {
    test::TempProgramDir root(false);
    const std::string ended = "sabrix-" + std::to_string(EndedProcess()) + "-Ab3xYz";
    const std::vector<std::string> kept = {
        "sabrix-" + std::to_string(::getpid()) + "-Qw9rTy",  // this process
        "sabrix-1-Zz0000",                                   // a running process
        "sabrix-Ab3xYz",                                     // an older run's name: unknown
        "sabrix-" + std::to_string(EndedProcess()) + "-toolong7",
        "other-" + std::to_string(EndedProcess()) + "-Ab3xYz"};
    for (const auto& name : kept) fs::create_directory(root.file(name));
    fs::create_directory(root.file(ended));
    test::WriteFileBytes(root.file(ended + "/Obs.db"), "scratch");
    EXPECT_EQ(RemoveStaleScratchFolders(root.path()), 1);
    std::vector<std::string> want = kept;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Names(root.path()), want);
}

TEST(ScratchFolderDeathTest, KilledRunsFolderIsRemovedByTheNextRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::DeathTestFolder root;
    EXPECT_EXIT(
        {
            ScratchFolder scratch(root.path());
            test::WriteFileBytes(scratch.path() + "/Obs.db", "scratch");
            std::raise(SIGKILL);
        },
        testing::KilledBySignal(SIGKILL), "");
    ASSERT_EQ(Names(root.path()).size(), 1u);
    {
        ScratchFolder next(root.path());
        ASSERT_TRUE(next.isValid());
        EXPECT_EQ(Names(root.path()), std::vector<std::string>{fs::path(next.path()).filename()});
    }
    EXPECT_TRUE(Names(root.path()).empty());
}

}  // namespace sabrix
