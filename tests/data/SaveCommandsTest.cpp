#include <gtest/gtest.h>

#include "core/FileSystem.h"
#include "core/SabrixError.h"
#include "data/SaveCommands.h"
#include "data/StarFileExport.h"
#include "data/ThreeColumnFile.h"
#include "data/XYZLoadCommand.h"
#include "plot/PlotWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {

const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 5, 3));
const std::string kOriginal = "JD,Magnitude,...\r\n2454123.5,9.1,,,Vis.,XYZ\r\n";

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return kNow; }
};

class RecordingDisplay : public SaveDisplay {
  public:
    void hidePlotForSave() override { calls.push_back("hide"); }
    void setProgressCaption(const QString& caption) override {
        calls.push_back(caption.toStdString());
    }
    void restorePlotAfterSave() override { calls.push_back("restore"); }
    void yield() override { ++yields; }
    std::vector<std::string> calls;
    int yields = 0;
};

// Fails the one question whose title it is given, as a broken dialog would.
class BrokenQuestionPrompts : public test::ScriptedPrompts {
  public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override {
        if (title == "Are you SURE?") throw SabrixError("Dialog failed");
        return ScriptedPrompts::message(text, title, buttons, icon);
    }
};

ObsRow Obs(double jd, double mag, double error = 0) {
    ObsRow r;
    r.Star = "RCAR";
    r.JD = jd;
    r.Mag = mag;
    r.Error = error;
    return r;
}

class SaveCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteFileBytes(star, kOriginal);
        state.settings.FilePath = star;
        state.star.FileLoaded = true;
        state.star.StarName = "RCAR";
    }
    void Add(std::initializer_list<ObsRow> rows) {
        ObsTable::BulkInserter inserter(table);
        for (const auto& r : rows) inserter.add(r);
        inserter.commit();
    }
    void Save() { mnuSave_Click(state, table, prompts, clock, display); }
    void ExpectOneMessage(const QString& text, const QString& title, Buttons buttons, Icon icon) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, text);
        EXPECT_EQ(prompts.messages[0].title, title);
        EXPECT_EQ(prompts.messages[0].buttons, buttons);
        EXPECT_EQ(prompts.messages[0].icon, icon);
    }

    test::TempProgramDir dir;
    ObsTable table{dir.file("Template97.db")};
    std::string star = dir.file("rcar.txt");
    std::string backup = dir.file("rcar.bak");
    AppState state;
    test::ScriptedPrompts prompts;
    FixedClock clock;
    RecordingDisplay display;
};

}  // namespace

TEST_F(SaveCommandsTest, ThreeColumnDataIsRefusedEvenWithAlwaysSave) {
    state.star.ThreeColumnFormat = true;
    state.CommandLine = "/alwayssave";
    Save();
    ExpectOneMessage("This file is in 3-column format. Use the \"Save 3-Column\" menu item.",
                     "Wrong File Format", Buttons::OK, Icon::Information);
    EXPECT_TRUE(display.calls.empty());
    EXPECT_EQ(test::ReadFileBytes(star), kOriginal);
}

TEST_F(SaveCommandsTest, NothingLoadedSaysNoStarLoaded) {
    state.star.FileLoaded = false;
    Save();
    ExpectOneMessage("No star file is loaded.", "No Star Loaded", Buttons::OK, Icon::Critical);
}

TEST_F(SaveCommandsTest, AlwaysSaveWritesAtOnceWithoutEdits) {
    Add({Obs(2454123.5, 9.1), Obs(2454124.5, 12.345)});
    state.CommandLine = "/alwayssave";
    Save();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(test::ReadFileBytes(star), StarFileText(table, "RCAR", kNow, {}));
    EXPECT_EQ(test::ReadFileBytes(backup), kOriginal);
    EXPECT_EQ(display.calls, (std::vector<std::string>{"hide", "Backing up file. . . .",
                                                       "Saving. . . .", "restore"}));
    EXPECT_GE(display.yields, 2);
}

TEST_F(SaveCommandsTest, OtherCommandLinesAskBeforeOverwritingEdits) {
    Add({Obs(2454123.5, 9.1)});
    state.star.FileEdited = true;
    state.CommandLine = "/AlwaysSave";
    prompts.answer(Answer::No);
    Save();
    ExpectOneMessage(QString::fromStdString("Are you SURE you want to overwrite " + star + "?"),
                     "Are you SURE?", Buttons::YesNo, Icon::None);
    EXPECT_EQ(test::ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state.star.FileEdited);

    state.CommandLine = "/alwayssave x";
    prompts.answer(Answer::Yes);
    Save();
    EXPECT_EQ(test::ReadFileBytes(star), StarFileText(table, "RCAR", kNow, {}));
    EXPECT_FALSE(state.star.FileEdited);
}

TEST_F(SaveCommandsTest, NoEditsSaysNoChanges) {
    Save();
    ExpectOneMessage("There have been no changes to save.", "No Changes", Buttons::OK,
                     Icon::Information);
}

TEST_F(SaveCommandsTest, UnformattableMagnitudeStopsTheSaveAndKeepsEverything) {
    Add({Obs(2454123.5, 9.1), Obs(2454124.5, 9.1234)});
    test::WriteFileBytes(backup, "older backup");
    state.star.FileEdited = true;
    state.CommandLine = "/alwayssave";
    Save();
    ExpectOneMessage("Cannot format Number", "OOPS!!", Buttons::OK, Icon::None);
    EXPECT_EQ(test::ReadFileBytes(star), kOriginal);
    EXPECT_EQ(test::ReadFileBytes(backup), "older backup");
    EXPECT_TRUE(state.star.FileEdited);
    EXPECT_EQ(display.calls.back(), "restore");
}

TEST_F(SaveCommandsTest, EmptyTableShowsSaveFileErrorAndKeepsTheStarFile) {
    state.star.FileEdited = true;
    prompts.answer(Answer::Yes);
    Save();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              "Error \"No current record.\" encountered in module SaveFile.");
    EXPECT_EQ(prompts.messages[1].title, "Error");
    EXPECT_EQ(test::ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state.star.FileEdited);
}

TEST_F(SaveCommandsTest, SecondSaveKeepsTheBackupOfTheFileAsLoaded) {
    Add({Obs(2454123.5, 9.1)});
    state.CommandLine = "/alwayssave";
    Save();
    Save();
    EXPECT_EQ(test::ReadFileBytes(backup), kOriginal);
    EXPECT_TRUE(state.star.BackupMade);
    state.star.BackupMade = false;  // a new load of the same file
    Save();
    EXPECT_EQ(test::ReadFileBytes(backup), test::ReadFileBytes(star));
}

TEST_F(SaveCommandsTest, BackupStaysInTheFolderOfTheStarFile) {
    EXPECT_EQ(SaveBackupPath("/data/obs.dir/star"), "/data/obs.dir/star.bak");
    EXPECT_EQ(SaveBackupPath("/data/star.txt"), "/data/star.bak");
    EXPECT_EQ(SaveBackupPath("/data/star.bak"), "/data/star.bak.bak");
}

TEST_F(SaveCommandsTest, MissingStarFileIsReportedAndNothingIsWritten) {
    Add({Obs(2454123.5, 9.1)});
    state.settings.FilePath = dir.file("gone.txt");
    state.CommandLine = "/alwayssave";
    Save();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.endsWith("\" encountered in module SaveFile."));
    EXPECT_FALSE(FileExists(dir.file("gone.txt")));
}

TEST_F(SaveCommandsTest, FailureOfTheCommandItselfIsReportedAndTheProgramGoesOn) {
    BrokenQuestionPrompts broken;
    state.star.FileEdited = true;
    mnuSave_Click(state, table, broken, clock, display);
    ASSERT_EQ(broken.messages.size(), 1u);
    EXPECT_EQ(broken.messages[0].text, "Error Dialog failed occured in module mnuSave");
    EXPECT_EQ(broken.messages[0].title, "Save Error");
    EXPECT_EQ(broken.messages[0].icon, Icon::Exclamation);
    EXPECT_TRUE(state.star.FileEdited);
}

class SaveXYZTest : public SaveCommandsTest {
  protected:
    void SetUp() override {
        SaveCommandsTest::SetUp();
        state.star.ThreeColumnFormat = true;
        state.star.ThreeColumnFilePath = star;
        state.settings.FilePath = dir.path();
    }
    void Save() { mnuSaveXYZ_Click(state, table, prompts, display); }
};

TEST_F(SaveXYZTest, StarFileDataIsRefused) {
    state.star.ThreeColumnFormat = false;
    Save();
    ExpectOneMessage(
        "This file is not in 3-column format. Use the \"Save to Star File\" menu item.",
        "Wrong File Format", Buttons::OK, Icon::Information);
}

TEST_F(SaveXYZTest, NoEditsSaysNoChangesUnlessAlwaysSave) {
    Save();
    ExpectOneMessage("There have been no changes to save.", "No Changes", Buttons::OK,
                     Icon::Information);
    state.CommandLine = "/alwayssave";
    prompts.file(std::nullopt);
    Save();
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(dir.path()));
}

TEST_F(SaveXYZTest, CancelWritesNothingAndRestoresTheDisplay) {
    state.star.FileEdited = true;
    prompts.file(std::nullopt);
    Save();
    EXPECT_EQ(display.calls,
              (std::vector<std::string>{"hide", "Backing up file. . . .", "restore"}));
    EXPECT_TRUE(state.star.FileEdited);
    EXPECT_FALSE(FileExists(backup));
}

TEST_F(SaveXYZTest, EditsAreWrittenToTheChosenFileAfterABackup) {
    Add({Obs(2454123.5, 9.1, 0.012)});
    state.star.FileEdited = true;
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(test::ReadFileBytes(star), "2454123.5          9.1  0.0120  \r\n");
    EXPECT_EQ(test::ReadFileBytes(backup), kOriginal);
    EXPECT_FALSE(state.star.FileEdited);
}

TEST_F(SaveXYZTest, EmptyTableShowsXYZSaveFileError) {
    state.star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("out.txt")));
    Save();
    ExpectOneMessage("Error \"No current record.\" encountered in module XYZSaveFile.", "Error",
                     Buttons::OK, Icon::None);
    EXPECT_FALSE(FileExists(dir.file("out.txt")));
    EXPECT_TRUE(state.star.FileEdited);
}

TEST_F(SaveXYZTest, LoadSaveLoadThroughTheCommandsKeepsTheFainterThanMark) {
    const std::string source = dir.file("rcar.v.txt");
    const std::string output = dir.file("saved.txt");
    test::WriteFileBytes(source, "2454123.5 9.1 0.012\n2454124.5 <12.5\n");
    AppState loaded;
    ASSERT_TRUE(XYZBeginLoad(loaded, source));
    int32_t counted = 0;
    ASSERT_EQ(XYZLoadFile(loaded, table, prompts, {[&](int32_t n) { counted = n; }, {}}),
              XYZLoadOutcome::Loaded);
    EXPECT_EQ(counted, 2);
    EXPECT_EQ(loaded.star.RecordCount, 2);
    EXPECT_TRUE(loaded.star.FileLoaded);
    loaded.CommandLine = "/alwayssave";
    prompts.file(QString::fromStdString(output));
    mnuSaveXYZ_Click(loaded, table, prompts, display);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(test::ReadFileBytes(dir.file("rcar.v.bak")), test::ReadFileBytes(source));

    test::TempProgramDir other;
    ObsTable again(other.file("Template97.db"));
    AppState reloaded;
    ASSERT_TRUE(XYZBeginLoad(reloaded, output));
    ASSERT_EQ(XYZLoadFile(reloaded, again, prompts, {}), XYZLoadOutcome::Loaded);
    EXPECT_EQ(ThreeColumnFileText(again), ThreeColumnFileText(table));
    EXPECT_EQ(again.RowById(2)->Faint, "<");
    EXPECT_EQ(again.RowById(2)->Mag, 12.5);
    EXPECT_EQ(again.RowById(1)->Error, 0.012);
}

TEST(XYZLoadCommand, PiecesOfTheLoadCommand) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    AppState state;
    test::ScriptedPrompts prompts;
    state.star.FileLoaded = true;
    state.star.StarName = " RCAR ";
    prompts.answer(Answer::Cancel);
    EXPECT_FALSE(AskUnloadForXYZ(state, prompts));
    EXPECT_EQ(prompts.messages[0].text, "Unload current file RCAR ?");
    EXPECT_EQ(prompts.messages[0].title, "Unload Current File?");
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OKCancel);
    EXPECT_EQ(prompts.messages[0].icon, Icon::Question);
    state = AppState{};

    EXPECT_FALSE(XYZBeginLoad(state, "/data.d/rcar"));
    EXPECT_FALSE(state.star.ThreeColumnFormat);
    ASSERT_TRUE(XYZBeginLoad(state, dir.file("gone.v.txt")));
    EXPECT_EQ(state.star.StarName, "gone");
    EXPECT_EQ(PlainMagnificationText(state), "Magnification = 1 X");
    EXPECT_EQ(XYZLoadFile(state, table, prompts, {}), XYZLoadOutcome::FileNotFound);
    EXPECT_EQ(prompts.messages.back().text,
              QString::fromStdString("File " + dir.file("gone.v.txt") + " not found."));
    EXPECT_EQ(prompts.messages.back().title, "File Error");
    EXPECT_FALSE(state.overlay.StateOK);
}

TEST(XYZLoadCommand, UnreadableLineIsReportedAndLeavesTheTableEmpty) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    AppState state;
    test::ScriptedPrompts prompts;
    test::WriteFileBytes(dir.file("bad.txt"), "2454123.5 9.1\nJD MAG\n");
    ASSERT_TRUE(XYZBeginLoad(state, dir.file("bad.txt")));
    EXPECT_EQ(XYZLoadFile(state, table, prompts, {}), XYZLoadOutcome::Failed);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              "Error in loading database. Check source file.\r\n"
              "Line 2: JD \"JD\" is not a number.");
    EXPECT_EQ(prompts.messages[0].title, "Error");
    EXPECT_EQ(prompts.messages[0].icon, Icon::Critical);
    EXPECT_FALSE(state.overlay.StateOK);
    EXPECT_FALSE(state.star.FileLoaded);
    EXPECT_EQ(table.Count(), 0);
}

}  // namespace sabrix
