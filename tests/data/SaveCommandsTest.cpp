#include <gtest/gtest.h>

#include <filesystem>

#include "core/FileSystem.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/DownloadFileExport.h"
#include "data/SaveCommands.h"
#include "data/StarFileExport.h"
#include "data/ThreeColumnFile.h"
#include "data/XYZLoadCommand.h"
#include "plot/PlotWindow.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompts.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {

using test::ReadFileBytes;
using Messages = std::vector<test::RecordedMessage>;

const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 5, 3));
const std::string kOriginal = "JD,Magnitude,...\r\n2454123.5,9.1,,,Vis.,XYZ\r\n";
const test::RecordedMessage kNoChanges{"There have been no changes to save.", "No Changes",
                                       Buttons::OK, Icon::Information};

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
  protected:
    Answer showMessage(const QString& text, const QString& title, Buttons buttons, Icon icon,
                       std::optional<Answer> dismissed) override {
        if (title == "Are you SURE?") throw SabrixError("Dialog failed");
        return ScriptedPrompts::showMessage(text, title, buttons, icon, dismissed);
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
    void Save() { mnuSave_Click(state, t.table, prompts, clock, display); }
    std::string Written() { return StarFileText(t.table, "RCAR", kNow, {}); }

    test::TempTable t;
    std::string star = t.dir.file("rcar.txt");
    std::string backup = t.dir.file("rcar.bak");
    AppState state;
    test::ScriptedPrompts prompts;
    FixedClock clock;
    RecordingDisplay display;
};

}  // namespace

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

TEST_F(SaveCommandsTest, TwoStarFilesOfOneBaseNameKeepBothOriginals) {
    const std::string csv = t.dir.file("rcar.csv");
    const std::string csvOriginal = "JD,Magnitude\r\n2454200.5,8.7,,,Vis.,ABC\r\n";
    test::WriteFileBytes(csv, csvOriginal);
    t.Add({Obs(2454123.5, 9.1)});
    state.CommandLine = "/alwayssave";
    Save();
    state.settings.FilePath = csv;  // the second file loaded from the same folder
    state.star.BackupMade = false;
    Save();
    EXPECT_EQ(ReadFileBytes(t.dir.file("rcar.txt.bak")), kOriginal);
    EXPECT_EQ(ReadFileBytes(t.dir.file("rcar.csv.bak")), csvOriginal);
    EXPECT_FALSE(FileExists(backup));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SaveCommandsTest, RefusalsComeBeforeAlwaysSaveAndWriteNothing) {
    state.star.ThreeColumnFormat = true;
    state.CommandLine = "/alwayssave";
    Save();
    state.star.ThreeColumnFormat = false;
    state.star.FileLoaded = false;
    Save();
    state.star.FileLoaded = true;
    state.CommandLine = "";
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"This file is in 3-column format. Use the \"Save 3-Column\" menu item.",
                         "Wrong File Format", Buttons::OK, Icon::Information},
                        {"No star file is loaded.", "No Star Loaded", Buttons::OK, Icon::Critical},
                        kNoChanges}));
    EXPECT_TRUE(display.calls.empty());
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
}

TEST_F(SaveCommandsTest, AlwaysSaveWritesAtOnceAndBacksUpOncePerLoad) {
    t.Add({Obs(2454123.5, 9.1), Obs(2454124.5, 12.345)});
    state.CommandLine = "/alwayssave";
    Save();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadFileBytes(star), Written());
    EXPECT_EQ(display.calls, (std::vector<std::string>{"hide", "Backing up file. . . .",
                                                       "Saving. . . .", "restore"}));
    EXPECT_GE(display.yields, 2);
    Save();
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    state.star.BackupMade = false;  // a new load of the same file
    Save();
    EXPECT_EQ(ReadFileBytes(backup), Written());
}

TEST_F(SaveCommandsTest, OtherCommandLinesAskBeforeOverwritingEdits) {
    t.Add({Obs(2454123.5, 9.1)});
    state.star.FileEdited = true;
    state.CommandLine = "/AlwaysSave";
    prompts.answer(Answer::No);
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{QString::fromStdString("Are you SURE you want to overwrite " + star + "?"),
                         "Are you SURE?", Buttons::YesNo, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state.star.FileEdited);
    state.CommandLine = "/alwayssave x";
    prompts.answer(Answer::Yes);
    Save();
    EXPECT_EQ(ReadFileBytes(star), Written());
    EXPECT_FALSE(state.star.FileEdited);
}

TEST_F(SaveCommandsTest, UnformattableMagnitudeOrJDStopsTheSaveAndKeepsEverything) {
    // The magnitude needs seven columns; the JD's whole part alone needs twenty-one.
    for (const ObsRow& unfit : {Obs(2454124.5, 9.1234), Obs(1e20, 9.1)}) {
        test::TempTable table;
        table.Add({Obs(2454123.5, 9.1), unfit});
        test::WriteFileBytes(backup, "older backup");
        test::ScriptedPrompts asked;
        state.star.FileEdited = true;
        state.CommandLine = "/alwayssave";
        mnuSave_Click(state, table.table, asked, clock, display);
        EXPECT_EQ(asked.messages,
                  (Messages{{"Cannot format Number", "OOPS!!", Buttons::OK, Icon::None}}));
        EXPECT_EQ(ReadFileBytes(star), kOriginal);
        EXPECT_EQ(ReadFileBytes(backup), "older backup");
        EXPECT_TRUE(state.star.FileEdited);
        EXPECT_EQ(display.calls.back(), "restore");
        // Nor is the copy begun for the backup left behind.
        for (const auto& entry : std::filesystem::directory_iterator(t.dir.path()))
            EXPECT_NE(entry.path().filename().string().rfind(".rcar.", 0), 0u) << entry.path();
    }
}

TEST_F(SaveCommandsTest, EmptyTableOrMissingStarFileShowSaveFileErrorAndWriteNothing) {
    state.star.FileEdited = true;
    prompts.answer(Answer::Yes);
    Save();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              "Error \"No current record.\" encountered in module SaveFile.");
    EXPECT_EQ(prompts.messages[1].title, "Error");
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state.star.FileEdited);

    t.Add({Obs(2454123.5, 9.1)});
    state.settings.FilePath = t.dir.file("gone.txt");
    state.CommandLine = "/alwayssave";
    Save();
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[2].text.endsWith("\" encountered in module SaveFile."));
    EXPECT_FALSE(FileExists(t.dir.file("gone.txt")));
}

TEST_F(SaveCommandsTest, FailureOfTheCommandItselfIsReportedAndTheProgramGoesOn) {
    BrokenQuestionPrompts broken;
    state.star.FileEdited = true;
    mnuSave_Click(state, t.table, broken, clock, display);
    EXPECT_EQ(broken.messages, (Messages{{"Error Dialog failed occured in module mnuSave",
                                          "Save Error", Buttons::OK, Icon::Exclamation}}));
    EXPECT_TRUE(state.star.FileEdited);
}

TEST_F(SaveCommandsTest, FullDiskKeepsTheStarFileAndSaysWhy) {
    std::vector<ObsRow> rows;
    for (int i = 0; i < 100; ++i) rows.push_back(Obs(2454123.5 + i, 9.1));
    t.Add(rows);
    state.star.FileEdited = true;
    state.CommandLine = "/alwayssave";
    {
        // Room for the backup of the small original, not for the new file.
        test::FileSizeLimit fullAfter(1000);
        Save();
    }
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"File too large\" encountered in module SaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_TRUE(state.star.FileEdited);
}

class SaveXYZTest : public SaveCommandsTest {
  protected:
    void SetUp() override {
        SaveCommandsTest::SetUp();
        state.star.ThreeColumnFormat = true;
        state.star.ThreeColumnFilePath = star;
        state.settings.FilePath = t.dir.path();
    }
    void Save() { mnuSaveXYZ_Click(state, t.table, prompts, display); }
};

TEST_F(SaveXYZTest, StarFileDataIsRefusedAndNoEditsSaysNoChangesUnlessAlwaysSave) {
    state.star.ThreeColumnFormat = false;
    Save();
    state.star.ThreeColumnFormat = true;
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"This file is not in 3-column format. Use the \"Save to Star File\" menu "
                         "item.",
                         "Wrong File Format", Buttons::OK, Icon::Information},
                        kNoChanges}));
    state.CommandLine = "/alwayssave";
    prompts.file(std::nullopt);  // cancelled: nothing written
    Save();
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(t.dir.path()));
    EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(display.calls,
              (std::vector<std::string>{"hide", "Backing up file. . . .", "restore"}));
    EXPECT_FALSE(FileExists(backup));
}

TEST_F(SaveXYZTest, EditsAreWrittenToTheChosenFileAfterABackupButNeverFromAnEmptyTable) {
    state.star.FileEdited = true;
    prompts.file(QString::fromStdString(t.dir.file("out.txt")));
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"No current record.\" encountered in module XYZSaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_FALSE(FileExists(t.dir.file("out.txt")));
    EXPECT_TRUE(state.star.FileEdited);
    t.Add({Obs(2454123.5, 9.1, 0.012)});
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(ReadFileBytes(star), "2454123.5          9.1  0.0120  \r\n");
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_FALSE(state.star.FileEdited);
}

TEST_F(SaveXYZTest, FullDiskKeepsTheChosenFileAndSaysWhy) {
    std::vector<ObsRow> rows;
    for (int i = 0; i < 100; ++i) rows.push_back(Obs(2454123.5 + i, 9.1, 0.012));
    t.Add(rows);
    const std::string output = t.dir.file("out.txt");
    test::WriteFileBytes(output, "old three columns\r\n");
    state.star.FileEdited = true;
    prompts.file(QString::fromStdString(output));
    {
        test::FileSizeLimit fullAfter(1000);
        Save();
    }
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"File too large\" encountered in module XYZSaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(output), "old three columns\r\n");
    EXPECT_TRUE(state.star.FileEdited);
}

TEST_F(SaveXYZTest, LoadSaveLoadThroughTheCommandsKeepsTheFainterThanMark) {
    const std::string source = t.dir.file("rcar.v.txt");
    const std::string output = t.dir.file("saved.txt");
    test::WriteFileBytes(source, "2454123.5 9.1 0.012\n2454124.5 <12.5\n");
    AppState loaded;
    ASSERT_TRUE(XYZBeginLoad(loaded, source));
    ASSERT_EQ(XYZLoadFile(loaded, t.table, prompts, {}), XYZLoadOutcome::Loaded);
    EXPECT_EQ(loaded.star.RecordCount, 2);
    loaded.CommandLine = "/alwayssave";
    prompts.file(QString::fromStdString(output));
    mnuSaveXYZ_Click(loaded, t.table, prompts, display);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadFileBytes(t.dir.file("rcar.v.bak")), ReadFileBytes(source));

    test::TempTable again;
    AppState reloaded;
    ASSERT_TRUE(XYZBeginLoad(reloaded, output));
    ASSERT_EQ(XYZLoadFile(reloaded, again.table, prompts, {}), XYZLoadOutcome::Loaded);
    EXPECT_EQ(ThreeColumnFileText(again.table), ThreeColumnFileText(t.table));
    EXPECT_EQ(again.table.RowById(2)->Faint + FormatDouble(again.table.RowById(2)->Mag), "<12.5");
}

class SaveDownloadTest : public SaveCommandsTest {
  protected:
    void Save() { mnuSaveDownload_Click(state, t.table, prompts, display); }
};

TEST_F(SaveDownloadTest, RefusesThreeColumnDataAndAnEmptyWindowAndCancelWritesNothing) {
    state.star.ThreeColumnFormat = true;
    Save();
    state.star.ThreeColumnFormat = false;
    state.star.FileLoaded = false;
    Save();
    EXPECT_EQ(
        prompts.messages,
        (Messages{{"This file is in 3-column format. Use the \"Save 3-Column\" menu item.",
                   "Wrong File Format", Buttons::OK, Icon::Information},
                  {"No star file is loaded.", "No Star Loaded", Buttons::OK, Icon::Critical}}));
    state.star.FileLoaded = true;
    t.Add({Obs(2454123.5, 9.1)});
    prompts.file(std::nullopt);
    Save();
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].fileName, QString::fromStdString(star));
    EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_FALSE(FileExists(backup));
}

TEST_F(SaveDownloadTest, OverTheLoadedFileBacksItUpOnceAndAnyOtherFileIsJustWritten) {
    t.Add({Obs(2454123.5, 9.1234)});
    state.star.FileEdited = true;
    const std::string written = DownloadFileText(t.table, {});
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(ReadFileBytes(star), written);
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_FALSE(state.star.FileEdited);
    EXPECT_EQ(display.calls,
              (std::vector<std::string>{"hide", "Saving. . . .", "Backing up file. . . .",
                                        "Saving. . . .", "restore"}));
    // Elsewhere: no backup of that file, and the first backup of the load stays.
    test::WriteFileBytes(star, "changed since\r\n");
    test::WriteFileBytes(t.dir.file("other.txt"), "old\r\n");
    prompts.file(QString::fromStdString(t.dir.file("other.txt")));
    Save();
    EXPECT_EQ(ReadFileBytes(t.dir.file("other.txt")), written);
    EXPECT_FALSE(FileExists(t.dir.file("other.bak")));
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(SaveDownloadTest, EmptyTableSaysWhyAndKeepsTheFile) {
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"No current record.\" encountered in module DownloadSaveFile.",
                         "Error", Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_FALSE(FileExists(backup));
}

TEST(XYZLoadCommand, AsksToUnloadAndReportsAMissingFile) {
    test::TempTable t;
    AppState state;
    test::ScriptedPrompts prompts;
    state.star.FileLoaded = true;
    state.star.StarName = " RCAR ";
    prompts.answer(Answer::Cancel);
    EXPECT_FALSE(AskUnloadForXYZ(state, prompts));
    state = AppState{};
    EXPECT_FALSE(XYZBeginLoad(state, "/data.d/rcar"));
    EXPECT_FALSE(state.star.ThreeColumnFormat);
    ASSERT_TRUE(XYZBeginLoad(state, t.dir.file("gone.v.txt")));
    EXPECT_EQ(state.star.StarName, "gone");
    EXPECT_EQ(PlainMagnificationText(state), "Magnification = 1 X");
    EXPECT_EQ(XYZLoadFile(state, t.table, prompts, {}), XYZLoadOutcome::FileNotFound);
    EXPECT_EQ(prompts.messages,
              (Messages{{"Unload current file RCAR ?", "Unload Current File?", Buttons::OKCancel,
                         Icon::Question},
                        {QString::fromStdString("File " + t.dir.file("gone.v.txt") + " not found."),
                         "File Error", Buttons::OK, Icon::Exclamation}}));
    EXPECT_FALSE(state.overlay.StateOK);
}

TEST(XYZLoadCommand, UnreadableLineIsReportedAndLeavesTheTableEmpty) {
    test::TempTable t;
    AppState state;
    test::ScriptedPrompts prompts;
    test::WriteFileBytes(t.dir.file("bad.txt"), "2454123.5 9.1\nJD MAG\n");
    ASSERT_TRUE(XYZBeginLoad(state, t.dir.file("bad.txt")));
    EXPECT_EQ(XYZLoadFile(state, t.table, prompts, {}), XYZLoadOutcome::Failed);
    EXPECT_EQ(prompts.messages, (Messages{{"Error in loading database. Check source file.\r\n"
                                           "Line 2: JD \"JD\" is not a number.",
                                           "Error", Buttons::OK, Icon::Critical}}));
    EXPECT_FALSE(state.overlay.StateOK);
    EXPECT_FALSE(state.star.FileLoaded);
    EXPECT_EQ(t.table.Count(), 0);
}

}  // namespace sabrix
