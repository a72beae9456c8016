// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/WorkingDatabase.h"
#include "data/ObsTable.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::TempProgramDir;
namespace fs = std::filesystem;

void AddOneRow(const std::string& dbPath) {
    ObsTable table(dbPath);
    ObsTable::BulkInserter inserter(table);
    inserter.add(ObsRow{});
    inserter.commit();
}

TEST(PrepareWorkingDatabase, CreatesTheFilesFolderAndReplacesAnEarlierWorkingDatabase) {
    TempProgramDir dir;
    // A read-only template must still give a writable copy.
    fs::permissions(dir.file("Template97.db"), fs::perms::owner_read | fs::perms::group_read);
    AppState state;
    PrepareWorkingDatabase(dir.path(), state);
    EXPECT_EQ(state.star.FilesFolder, dir.file("files"));
    EXPECT_TRUE(FolderExists(dir.file("files")));
    AddOneRow(dir.file("Sabrix97.db"));
    test::WriteFileBytes(dir.file("Sabrix97.db-journal"), "left over");
    PrepareWorkingDatabase(dir.path(), state);
    EXPECT_EQ(ObsTable(dir.file("Sabrix97.db")).Count(), 0);
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db-journal")));
    AddOneRow(dir.file("Sabrix97.db"));
    DeleteWorkingDatabase(dir.path());
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db")));
    EXPECT_NO_THROW(DeleteWorkingDatabase(dir.path()));
}

TEST(PrepareWorkingDatabase, MissingTemplateNamesItsPathAndLeavesTheOldCopyAlone) {
    TempProgramDir dir(false);
    test::WriteFileBytes(dir.file("Sabrix97.db"), "old");
    AppState state;
    try {
        PrepareWorkingDatabase(dir.path(), state);
        FAIL() << "no failure";
    } catch (const FatalFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Database template " + dir.file("Template97.db") + " missing.");
        EXPECT_EQ(e.title(), QString("File Missing"));
        EXPECT_EQ(e.icon(), Icon::Critical);
    }
    EXPECT_TRUE(FolderExists(dir.file("files")));
    EXPECT_EQ(test::ReadFileBytes(dir.file("Sabrix97.db")), "old");
}

TEST(PrepareWorkingDatabase, AWorkingDatabaseThatCannotBeReplacedIsReportedByPath) {
    TempProgramDir dir;
    fs::create_directories(dir.file("Sabrix97.db/inside"));
    AppState state;
    try {
        PrepareWorkingDatabase(dir.path(), state);
        FAIL() << "no failure";
    } catch (const FatalFileError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("Sabrix97.db")), std::string::npos);
    }
}

// Under "ulimit -f" the program asked for a folder it can write to, though it had one.
TEST(PrepareWorkingDatabase, FileSizeLimitIsNamedAsTheReason) {
    TempProgramDir dir;
    AppState state;
    const test::FileSizeLimit limit(1024);
    try {
        PrepareWorkingDatabase(dir.path(), state);
        FAIL() << "no failure";
    } catch (const FatalFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The working database " + dir.file("Sabrix97.db") +
                      " could not be created (file size limit exceeded). Sabrix needs to write "
                      "files larger than the limit that it was started with (ulimit -f).");
    }
}

TEST(ResetStarState, ForgetsTheStarAndKeepsSettingsPreferencesAndTools) {
    for (Tool tool :
         {Tool::Box, Tool::Locate, Tool::ZoomBox, Tool::Magnify, Tool::JDZoom, Tool::MagZoom}) {
        AppState s;
        s.settings.FilePath = "/data/star.txt";
        s.settings.PolyFit = 12;
        s.star = {"R Leo", 121,   "/data/three.dat", "/p/files", true, true, true,
                  true,    {"V"}, {{"TB", 255}}};
        s.view = {9.5f, 5.5f, 2450000.5, 2451000.5, 2449995.5, 2451005.5, 5,
                  10,   1010, 5,         4.0f,      2.0f,      1};
        s.overlay.OmitFainter = s.overlay.OmitDiscrepant = s.overlay.StatsShown = true;
        s.overlay.tool = tool;
        ResetStarState(s);

        const auto view = [](const PlotWindowState& v) {
            return std::tie(v.MagFaintest, v.MagBrightest, v.JDFirst, v.JDLast, v.WinJDLeft,
                            v.WinJDRight, v.WinMagTop, v.WinMagBottom, v.WinJDWidth, v.WinMagHeight,
                            v.JDMagnification, v.MagMagnification);
        };
        const PlotWindowState fresh;
        EXPECT_EQ(view(s.view), view(fresh));
        const OverlayState& o = s.overlay;
        EXPECT_EQ(
            std::tie(s.settings.FilePath, s.star.StarName, s.star.RecordCount, s.star.FileLoaded,
                     s.star.FileEdited, s.star.ThreeColumnFormat, s.star.HiddenBands),
            std::make_tuple(std::string(), std::string(), 0, false, false, false,
                            std::set<std::string>()));
        EXPECT_TRUE(s.star.BandColors.empty());
        // Kept: the settings, the last three-column file, the files folder, the preferences,
        // and every tool but the edit box.
        EXPECT_EQ(s.settings.PolyFit, 12);
        EXPECT_EQ(s.star.ThreeColumnFilePath, "/data/three.dat");
        EXPECT_EQ(s.star.FilesFolder, "/p/files");
        EXPECT_EQ(std::tie(o.OmitFainter, o.OmitDiscrepant, o.StatsShown),
                  std::make_tuple(true, true, true));
        EXPECT_EQ(o.tool, tool == Tool::Box ? Tool::Locate : tool);
    }
}

TEST(InstanceLock, ASecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds) {
    TempProgramDir dir;
    auto first = std::make_unique<InstanceLock>(dir.path());
    ASSERT_EQ(first->tryLock(), InstanceLock::Result::Acquired);
    InstanceLock second(dir.path());
    EXPECT_EQ(second.tryLock(), InstanceLock::Result::HeldByOther);
    EXPECT_TRUE(second.refusalText().contains(QString::fromStdString(dir.path())));
    first.reset();
    EXPECT_EQ(second.tryLock(), InstanceLock::Result::Acquired);
    // A folder that cannot hold the lock is not mistaken for a second copy.
    EXPECT_EQ(InstanceLock("/nonexistent/sabrix/folder").tryLock(),
              InstanceLock::Result::Unavailable);
}

}  // namespace
}  // namespace sabrix
