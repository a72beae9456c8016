#include <gtest/gtest.h>

#include <filesystem>

#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/WorkingDatabase.h"
#include "data/ObsTable.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::TempProgramDir;
namespace fs = std::filesystem;

void AddOneRow(const std::string& dbPath) {
    ObsTable table(dbPath);
    ObsTable::BulkInserter inserter(table);
    ObsRow row;
    row.JD = 2454000.5;
    row.Mag = 9.5;
    inserter.add(row);
    inserter.commit();
}

TEST(PrepareWorkingDatabase, CreatesTheFilesFolderAndAnEmptyWorkingDatabase) {
    TempProgramDir dir;
    AppState state;
    PrepareWorkingDatabase(dir.path(), state);
    EXPECT_EQ(state.star.FilesFolder, dir.file("files"));
    EXPECT_TRUE(FolderExists(dir.file("files")));
    EXPECT_EQ(ObsTable(dir.file("Sabrix97.db")).Count(), 0);
}

TEST(PrepareWorkingDatabase, ReplacesAWorkingDatabaseLeftByAnEarlierRun) {
    TempProgramDir dir;
    AppState state;
    PrepareWorkingDatabase(dir.path(), state);
    AddOneRow(dir.file("Sabrix97.db"));
    test::WriteFileBytes(dir.file("Sabrix97.db-journal"), "left over");

    PrepareWorkingDatabase(dir.path(), state);

    EXPECT_EQ(ObsTable(dir.file("Sabrix97.db")).Count(), 0);
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db-journal")));
}

TEST(PrepareWorkingDatabase, AReadOnlyTemplateStillGivesAWritableWorkingDatabase) {
    TempProgramDir dir;
    fs::permissions(dir.file("Template97.db"), fs::perms::owner_read | fs::perms::group_read);
    AppState state;
    PrepareWorkingDatabase(dir.path(), state);
    PrepareWorkingDatabase(dir.path(), state);  // over the first copy
    const auto perms = fs::status(dir.file("Sabrix97.db")).permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
    AddOneRow(dir.file("Sabrix97.db"));
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
    fs::create_directory(dir.file("Sabrix97.db"));
    test::WriteFileBytes(dir.file("Sabrix97.db/inside"), "x");
    AppState state;
    try {
        PrepareWorkingDatabase(dir.path(), state);
        FAIL() << "no failure";
    } catch (const FatalFileError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("Sabrix97.db")), std::string::npos)
            << e.what();
        EXPECT_EQ(e.icon(), Icon::Critical);
    }
}

TEST(DeleteWorkingDatabase, RemovesTheDatabaseAndToleratesItsAbsence) {
    TempProgramDir dir;
    AppState state;
    PrepareWorkingDatabase(dir.path(), state);
    DeleteWorkingDatabase(dir.path());
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db")));
    EXPECT_NO_THROW(DeleteWorkingDatabase(dir.path()));
}

AppState LoadedState() {
    AppState s;
    s.settings.FilePath = "/data/star.txt";
    s.settings.PolyFit = 12;
    s.settings.ColorVIS = 65280;
    s.star.StarName = "R Leo";
    s.star.RecordCount = 121;
    s.star.ThreeColumnFilePath = "/data/three.dat";
    s.star.FilesFolder = "/p/files";
    s.star.FileLoaded = true;
    s.star.FileEdited = true;
    s.star.ThreeColumnFormat = true;
    s.view = {9.5f, 5.5f, 2450000.5, 2451000.5, 2449995.5, 2451005.5, 5,
              10,   1010, 5,         4.0f,      2.0f,      1};
    s.overlay.BinsShown = true;
    s.overlay.BinJD = {1.0};
    s.overlay.BinMag = {2.0f};
    s.overlay.BinSD = {0.1f};
    s.overlay.Sigma = 2;
    s.overlay.PolyShown = true;
    s.overlay.ObserverMarked = true;
    s.overlay.MarkList = {{"1", "2450000.5", "9.1", "255"}};
    s.overlay.MarkCount = 3;
    s.overlay.MarkColor = 255;
    s.overlay.OmitFainter = true;
    s.overlay.StatsShown = true;
    s.overlay.SelectedLine = "a line";
    return s;
}

TEST(ResetStarState, ForgetsTheStarAndKeepsSettingsAndPreferences) {
    AppState s = LoadedState();
    s.overlay.tool = Tool::Box;
    ResetStarState(s);

    EXPECT_EQ(s.settings.FilePath, "");
    EXPECT_EQ(s.star.StarName, "");
    EXPECT_EQ(s.star.RecordCount, 0);
    EXPECT_FALSE(s.star.FileLoaded);
    EXPECT_FALSE(s.star.FileEdited);
    EXPECT_FALSE(s.star.ThreeColumnFormat);
    EXPECT_EQ(s.view.MagFaintest, 0.0f);
    EXPECT_EQ(s.view.MagBrightest, 0.0f);
    EXPECT_EQ(s.view.JDFirst, 0.0);
    EXPECT_EQ(s.view.JDLast, 0.0);
    EXPECT_EQ(s.view.WinJDLeft, 0.0);
    EXPECT_EQ(s.view.WinJDRight, 0.0);
    EXPECT_EQ(s.view.WinMagTop, 0.0);
    EXPECT_EQ(s.view.WinMagBottom, 0.0);
    EXPECT_EQ(s.view.WinJDWidth, 0.0);
    EXPECT_EQ(s.view.WinMagHeight, 0.0);
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(s.view.MagMagnification, 1.0f);
    EXPECT_TRUE(s.overlay.BinJD.empty());
    EXPECT_TRUE(s.overlay.BinMag.empty());
    EXPECT_TRUE(s.overlay.BinSD.empty());
    EXPECT_EQ(s.overlay.Sigma, 0);
    EXPECT_FALSE(s.overlay.BinsShown);
    EXPECT_FALSE(s.overlay.PolyShown);
    EXPECT_FALSE(s.overlay.ObserverMarked);
    EXPECT_TRUE(s.overlay.MarkList.empty());
    EXPECT_EQ(s.overlay.MarkCount, 0);
    EXPECT_EQ(s.overlay.SelectedLine, "");
    EXPECT_FALSE(s.overlay.BoxMode());

    EXPECT_EQ(s.settings.PolyFit, 12);
    EXPECT_EQ(s.settings.ColorVIS, 65280.0);
    EXPECT_EQ(s.star.ThreeColumnFilePath, "/data/three.dat");
    EXPECT_EQ(s.star.FilesFolder, "/p/files");
    EXPECT_EQ(s.overlay.MarkColor, 255);
    EXPECT_TRUE(s.overlay.OmitFainter);
    EXPECT_TRUE(s.overlay.StatsShown);
}

TEST(ResetStarState, KeepsEveryToolButTheEditBox) {
    for (Tool tool : {Tool::Locate, Tool::ZoomBox, Tool::Magnify, Tool::JDZoom, Tool::MagZoom}) {
        AppState s = LoadedState();
        s.overlay.tool = tool;
        ResetStarState(s);
        EXPECT_EQ(s.overlay.tool, tool);
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
}

TEST(InstanceLock, AFolderThatCannotHoldTheLockIsNotMistakenForASecondCopy) {
    InstanceLock lock("/nonexistent/sabrix/folder");
    EXPECT_EQ(lock.tryLock(), InstanceLock::Result::Unavailable);
}

}  // namespace
}  // namespace sabrix
