// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its files: the choice of the program folder and the search for the
// template and the user guide.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/ProgramDir.h"
#include "support/ScopedEnv.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

TEST(ProgramDirectory, ChosenFromSabrixHomeTheExecutableFolderOrThePerUserFolder) {
    test::TempProgramDir root(false);
    // A build tree (template beside the executable) and an installed program.
    const std::string build = root.file("build");
    const std::string installedBin = root.file("usr/bin");
    fs::create_directories(build);
    fs::create_directories(installedBin);
    fs::create_directories(root.file("usr/share/sabrix"));
    test::WriteFileBytes(build + "/Template97.db", "");
    test::WriteFileBytes(root.file("usr/share/sabrix/Template97.db"), "");

    struct Case {
        const char* what;
        std::string sabrixHome, xdgStateHome, home, exeDir;
        std::set<std::string> writable;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"SABRIX_HOME first, its trailing separators dropped",
         "/data/sabrix//",
         "",
         "/home/ann",
         build,
         {build},
         "/data/sabrix"},
        {"a writable executable folder",
         "",
         "/home/ann/.state",
         "/home/ann",
         build,
         {build},
         build},
        {"an executable folder that cannot be written",
         "",
         "/home/ann/.state",
         "/home/ann",
         build,
         {},
         "/home/ann/.state/sabrix"},
        {"XDG_STATE_HOME unset", "", "", "/home/ann", build, {}, "/home/ann/.local/state/sabrix"},
        {"XDG_STATE_HOME not absolute",
         "",
         "data",
         "/home/ann",
         build,
         {},
         "/home/ann/.local/state/sabrix"},
        {"an installed program, even for a user who may write to its bin folder",
         "",
         "",
         "/root",
         installedBin,
         {installedBin},
         "/root/.local/state/sabrix"},
    };
    for (const Case& c : cases) {
        ProgramDirSources sources;
        sources.sabrixHome = c.sabrixHome;
        sources.xdgStateHome = c.xdgStateHome;
        sources.home = c.home;
        sources.executableDir = c.exeDir;
        sources.writable = [&c](const std::string& dir) { return c.writable.count(dir) > 0; };
        EXPECT_EQ(ChooseProgramDirectory(sources), c.want) << c.what;
    }
}

// The first configuration offered the hidden per-user folder of an installed program, or the
// build folder, as the folder for the user's star files.
TEST(ProgramDirectory, FirstDataFolderIsTheDocumentsFolderUnlessSabrixHomeIsSet) {
    test::TempProgramDir root(false);
    const std::string build = root.file("build");
    const std::string installedBin = root.file("usr/bin");
    const std::string home = root.file("home/ann");
    const std::string documents = home + "/Documents";
    for (const std::string& d : {build, installedBin, root.file("usr/share/sabrix"), documents})
        fs::create_directories(d);
    test::WriteFileBytes(build + "/Template97.db", "");
    test::WriteFileBytes(root.file("usr/share/sabrix/Template97.db"), "");

    struct Case {
        const char* what;
        std::string sabrixHome, exeDir, documents, want;
    };
    const std::vector<Case> cases = {
        {"a build folder", "", build, documents, documents},
        {"SABRIX_HOME keeps its own", "/data/sabrix", installedBin, documents, "/data/sabrix"},
        {"an installed program", "", installedBin, documents + "/", documents},
        {"no documents folder", "", installedBin, home + "/Dokumente", home},
    };
    for (const Case& c : cases) {
        ProgramDirSources sources;
        sources.sabrixHome = c.sabrixHome;
        sources.home = home;
        sources.executableDir = c.exeDir;
        sources.writable = [&](const std::string& dir) { return dir == build; };
        EXPECT_EQ(ChooseFirstDataFolder(sources, c.documents), c.want) << c.what;
    }
}

TEST(ProgramDirectory, SabrixHomeThatDoesNotExistYetIsCreated) {
    test::TempProgramDir root(false);
    const std::string home = root.file("new/sabrix");
    test::ScopedEnv env("SABRIX_HOME", home.c_str());
    EXPECT_EQ(ProgramDirectory(), home);
    EXPECT_TRUE(fs::is_directory(home));
}

TEST(ProgramFiles, FoundInTheProgramFolderBesideTheExecutableOrInTheInstalledDataFolder) {
    test::TempProgramDir root(false);
    const std::string home = root.file("home");
    const std::string bin = root.file("prefix/bin");
    const std::string data = root.file("prefix/share/sabrix");
    for (const std::string& d : {home, bin, data}) fs::create_directories(d);
    EXPECT_EQ(InstalledDataDirectory(bin), data);

    const std::string name = "Template97.db";
    EXPECT_EQ(FindProgramFile(home, bin, name), std::nullopt);
    test::WriteFileBytes(data + "/" + name, "");
    EXPECT_EQ(FindProgramFile(home, bin, name), data + "/" + name);
    test::WriteFileBytes(bin + "/" + name, "");
    EXPECT_EQ(FindProgramFile(home, bin, name), bin + "/" + name);
    test::WriteFileBytes(home + "/" + name, "");
    EXPECT_EQ(FindProgramFile(home, bin, name), home + "/" + name);
    // A folder of that name is not the file.
    fs::create_directories(root.file("other/Documentation/Documentation.html"));
    EXPECT_EQ(FindProgramFile(root.file("other"), bin, "Documentation/Documentation.html"),
              std::nullopt);
}

TEST(ProgramFiles, NamedInTheProgramFolderWhenFoundNowhere) {
    // The test programs have no template or guide beside them.
    test::TempProgramDir empty(false);
    EXPECT_EQ(TemplateDatabasePath(empty.path()), empty.file("Template97.db"));
    EXPECT_EQ(UserGuidePath(empty.path()), empty.file("Documentation/Documentation.html"));
}

}  // namespace
}  // namespace sabrix
