// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime folder that the program sets up when XDG_RUNTIME_DIR is missing.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/RuntimeFolder.h"
#include "support/ScopedEnv.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

unsigned Mode(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::string UserName() {
    const passwd* user = getpwuid(getuid());
    return user != nullptr ? user->pw_name : std::to_string(getuid());
}

TEST(RuntimeFolder, MissingVariableGetsAPrivateFolderOfTheUserInTheTemporaryFolder) {
    test::TempProgramDir tmp(false);
    test::ScopedEnv tmpdir("TMPDIR", tmp.path().c_str());
    const std::string want = tmp.file("runtime-" + UserName());
    {
        test::ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(EnsureRuntimeFolder(), want);
        EXPECT_EQ(Mode(want), 0700u);
        EXPECT_STREQ(std::getenv("XDG_RUNTIME_DIR"), want.c_str());
    }
    {
        // One left open to others by hand is closed again.
        chmod(want.c_str(), 0755);
        test::ScopedEnv runtime("XDG_RUNTIME_DIR", "");
        EXPECT_EQ(EnsureRuntimeFolder(), want);
        EXPECT_EQ(Mode(want), 0700u);
    }
    {
        // A link in its place (another user's trap, or a mistake) is not followed.
        fs::remove(want);
        fs::create_directory(tmp.file("elsewhere"));
        fs::create_directory_symlink(tmp.file("elsewhere"), want);
        test::ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(EnsureRuntimeFolder(), "");
        EXPECT_EQ(std::getenv("XDG_RUNTIME_DIR"), nullptr);
        EXPECT_NE(Mode(tmp.file("elsewhere")), 0700u);
    }
    {
        // A desktop session's own folder is kept, and nothing is made.
        test::ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000");
        fs::remove(want);
        EXPECT_EQ(EnsureRuntimeFolder(), "/run/user/1000");
        EXPECT_FALSE(fs::exists(want));
    }
}

}  // namespace
}  // namespace sabrix
