// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/FileSystem.h"
#include "data/SaveBackup.h"
#include "support/TestEnvironment.h"

namespace sabrix {

TEST(BackupPath, ReplacesTheExtensionOfTheFileNameOnlyAndNeverHitsTheFileItself) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/data/star.txt", "/data/star.bak", "/data/star.bak"},
        {"/data/rcar.v.txt", "/data/rcar.v.bak", "/data/rcar.v.bak"},
        {"/data/obs.dir/star", "/data/obs.dir/star.bak", "/data/obs.dir/star.bak"},
        {"star", "star.bak", "star.bak"},
        {"/data/.hidden", "/data/.bak", "/data/.bak"},
        {"/data/star.bak", "/data/star.bak", "/data/star.bak.bak"}};
    for (const auto& [path, backup, saveBackup] : cases) {
        EXPECT_EQ(BackupPathFor(path), backup);
        EXPECT_EQ(SaveBackupPath(path), saveBackup);
    }
}

TEST(BackupPath, FileSharingItsBackupNameWithAnotherIsBackedUpUnderItsWholeName) {
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"star.txt"}, "star.txt", "star.bak"},
        {{"star.txt", "star.bak", "other.txt"}, "star.txt", "star.bak"},
        {{"star.txt", "star.csv"}, "star.txt", "star.txt.bak"},
        {{"star.txt", "star.csv"}, "star.csv", "star.csv.bak"},
        {{"star.txt", "star"}, "star.txt", "star.txt.bak"},
        {{"star.txt", "star"}, "star", "star.bak"},
        {{"star.csv", "star.csv.old"}, "star.csv", "star.bak"},
        {{"star.csv", "star.csv.old"}, "star.csv.old", "star.csv.old.bak"}};
    for (const auto& [files, saved, backup] : cases) {
        test::TempProgramDir dir(false);
        for (const auto& file : files) test::WriteFileBytes(dir.file(file), file);
        // A folder of the same base name is no file that could be loaded.
        std::filesystem::create_directory(dir.file("star.d"));
        EXPECT_EQ(SaveBackupPath(dir.file(saved)), dir.file(backup)) << saved;
    }
}

}  // namespace sabrix
