// Loading through the commands: the star file drawn from its columns first and its rows
// filled behind the plot, the three-column file in one pass, the ways a load fails or is
// cancelled, and unloading.
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/NumberText.h"
#include "core/WorkingDatabase.h"
#include "data/ThreeColumnFile.h"
#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using test::DataLine;
using test::Edges;
using test::EdgesOf;
using Look = WindowView::Look;
using Msg = test::RecordedMessage;

const QString kCheckSource = "Error in loading database. Check source file.";

class Loads : public test::CommandsFixture {
  protected:
    // Nothing of the file is left: the empty look naming no file, an empty table that the
    // next load may fill.
    void ExpectNothingKept() {
        EXPECT_EQ(view().look, Look::Empty);
        EXPECT_EQ(view().panels[0], QString());
        EXPECT_EQ(view().starLabel, QString());
        EXPECT_FALSE(view().busy || view().filling || view().cancelShown ||
                     view().progressBarShown || view().captionShown);
        EXPECT_FALSE(state().star.FileLoaded);
        EXPECT_TRUE(commands->TableReady());
        EXPECT_EQ(table().Count(), 0);
        EXPECT_FALSE(table().Extremes(PointFilter()));
    }
};

// ---- A star file ---------------------------------------------------------------------------

TEST_F(Loads, LoadAsksForTheFileShowsThePlotAndLoadingAgainAsksToUnloadFirst) {
    // Cancel in the open dialog of an empty window changes nothing.
    prompts.file(std::nullopt);
    EXPECT_EQ(commands->mnuLoad_Click().look, Look::Start);

    const std::string path = WriteRLeo();
    LoadThroughTheMenu(path);
    EXPECT_EQ(prompts.fileDialogs[1].filter, QString("All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.fileDialogs[1].initialFolder, QString::fromStdString(dir.path()));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + path));
    EXPECT_EQ(view().panels[1], QString("Magnification = 1 X"));
    EXPECT_EQ(view().starLabel, QString("R LEO - (3 Points)"));
    EXPECT_EQ(state().star.RecordCount, 4 + 20);
    EXPECT_EQ(table().Count(), 3);
    EXPECT_EQ(ColorAt(2454125.5, 10.5), test::kBandR);
    EXPECT_EQ(ColorAt(2454123.5, 9.1), test::kBandV);

    // Cancel keeps the star; OK unloads it before the dialog, which then opens anywhere.
    prompts.answer(Answer::Cancel);
    commands->mnuLoad_Click();
    const Msg unload = {"Unload current star R LEO ?", "Unload Current Star?", Buttons::OKCancel,
                        Icon::Question};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{unload});
    EXPECT_EQ(prompts.fileDialogs.size(), 2u);
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(table().Count(), 3);

    prompts.answer(Answer::OK);
    LoadThroughTheMenu(WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")}));
    EXPECT_EQ(prompts.fileDialogs[2].initialFolder, QString());
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_EQ(state().view.WinJDWidth, 210.0);

    // After agreeing to unload, a cancelled dialog leaves the window empty.
    prompts.answer(Answer::OK);
    prompts.file(std::nullopt);
    commands->mnuLoad_Click();
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(view().look, Look::Empty);
    EXPECT_EQ(view().starLabel, QString());
    EXPECT_FALSE(state().star.FileLoaded);
    EXPECT_EQ(table().Count(), 0);
}

TEST_F(Loads, FileChosenElsewhereIsPlottedFirstAndItsRowsFilledBehindThePlot) {
    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    commands->LoadStarFile(test::SampleFile("download-ccd.txt"));
    EXPECT_TRUE(prompts.fileDialogs.empty());
    EXPECT_TRUE(prompts.messages.empty());

    std::vector<WindowView> progress;
    std::copy_if(host.presented.begin(), host.presented.end(), std::back_inserter(progress),
                 [](const WindowView& v) { return v.progressBarShown && v.busy && !v.filling; });
    ASSERT_FALSE(progress.empty());
    for (const WindowView& v : progress) {
        EXPECT_EQ(v.look, Look::Loading);
        EXPECT_TRUE(v.busy && v.cancelShown);
        EXPECT_EQ(v.progressMaximum, state().star.RecordCount);
    }
    EXPECT_EQ(progress.back().progressCaption, QString("Loading 361 Records for PDS 110"));
    EXPECT_TRUE(progress.back().captionShown);

    // The plot is there while the rows are written; the progress shows the fill.
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString("PDS 110 - (340 Points)"));
    EXPECT_FALSE(view().busy);
    EXPECT_TRUE(view().filling && view().cancelShown && view().progressBarShown &&
                view().captionShown);
    EXPECT_EQ(view().progressCaption, QString("Loading 361 Records for PDS 110"));
    EXPECT_FALSE(commands->TableReady());

    // Navigation and the zooms work from the columns ...
    const Edges full = EdgesOf(state().view);
    commands->ShowWindow(full.left + 10, full.left + 100, full.top, full.bottom);
    EXPECT_EQ(EdgesOf(state().view).right, full.left + 100);
    commands->cmdReset_Click();
    EXPECT_EQ(EdgesOf(state().view), full);
    // ... the commands that need the rows do nothing until they are in: no question, no dialog.
    state().star.FileEdited = true;
    commands->mnuLoad_Click();
    commands->LoadStarFile(other);
    commands->mnuXYZ_Click();
    commands->LoadThreeColumnFile(other);
    commands->mnuSave_Click();
    commands->mnuSaveXYZ_Click();
    commands->mnuSaveDownload_Click();
    EXPECT_FALSE(commands->PrepareConfiguration());
    commands->DropFile(other);
    commands->BoxFinder(0, 0, picView.pixelWidth(), picView.pixelHeight());
    commands->Finder(picView.pixelWidth() / 2.0, picView.pixelHeight() / 2.0);
    EXPECT_EQ(commands->recordList(), nullptr);
    EXPECT_TRUE(prompts.messages.empty() && prompts.fileDialogs.empty());
    EXPECT_EQ(view().starLabel, QString("PDS 110 - (340 Points)"));
    state().star.FileEdited = false;

    commands->FinishFill();
    EXPECT_TRUE(commands->TableReady());
    EXPECT_EQ(table().Count(), 340);
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_FALSE(view().filling || view().cancelShown || view().progressBarShown ||
                 view().captionShown);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Loads, RejectedLinesAreReportedWithTheirCountsOverTheFinishedPlot) {
    const std::string path =
        WriteFile("rejects.txt", {DataLine("2454123.5", "9.1", "V", "R Leo"), "a,b,c",
                                  DataLine("2454125.5", "10.5", "R", "R Leo"), "",
                                  DataLine("2454130.5", "11.2", "V", "R Leo")});
    std::optional<WindowView> behindTheMessage;
    prompts.onMessage = [&](const Msg&) { behindTheMessage = host.presented.back(); };
    LoadThroughTheMenu(path);
    const Msg rejected = {
        "2 out of 25 records did not comply with the Norvane data format.\r\n"
        "These records have been ignored.\r\n"
        "Check Errors.txt for non-compliant records.",
        "Database Record Error", Buttons::OK, Icon::None};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{rejected});
    ASSERT_TRUE(behindTheMessage);
    EXPECT_EQ(behindTheMessage->look, Look::Plot);
    EXPECT_EQ(behindTheMessage->starLabel, QString("R LEO - (3 Points)"));
    EXPECT_EQ(commands->rejectedLines(), 2);
    EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "a,b,c\r\n\r\n");
}

TEST_F(Loads, FilesThatCannotBeLoadedShowWhyAndLeaveTheEmptyLookNamingNoFile) {
    struct Case {
        std::string name;
        std::optional<std::string> bytes;  // nothing: no such file
        Msg message;                       // a missing file's text is followed by the reason
    };
    const std::vector<Case> cases = {
        {"nodata.txt",
         test::Lines({test::kDownloadHeader, DataLine("245412.5", "9.1", "V", "R Leo")}),
         {kCheckSource, "Sabrix", Buttons::OK, Icon::None}},
        {"empty.txt",
         "",
         {kCheckSource + "\r\nInput past end of file", "Error", Buttons::OK, Icon::Critical}},
        {"midway.txt",
         test::Lines({DataLine("2454123.5", "9.1", "V", "R Leo"),
                      DataLine(" 2454124.5 ", "8.3:", "V", "R Leo"),
                      DataLine("2454125.5", "9.4", "V", "R Leo")}),
         {kCheckSource + " Last JD loaded was: 2454124.5.\r\nData type conversion error.", "Error",
          Buttons::OK, Icon::Critical}},
        {"missing.txt",
         std::nullopt,
         {kCheckSource + "\r\n", "Error", Buttons::OK, Icon::Critical}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A star is loaded first: a failed load must not leave any of it behind either.
        LoadThroughTheMenu(WriteRLeo());
        ASSERT_EQ(view().panels[0], QString::fromStdString("File: " + dir.file("rleo.txt")));
        const std::string path = dir.file(c.name);
        if (c.bytes) test::WriteFileBytes(path, *c.bytes);
        prompts.messages.clear();
        prompts.answer(Answer::OK);
        LoadThroughTheMenu(path);

        ASSERT_EQ(prompts.messages.size(), 2u);
        Msg got = prompts.messages[1];
        if (!c.bytes) {
            EXPECT_GT(got.text.size(), c.message.text.size());
            got.text.truncate(c.message.text.size());
        }
        EXPECT_EQ(got, c.message);
        EXPECT_EQ(view().look, Look::Empty);
        EXPECT_EQ(view().panels[0], QString());
        EXPECT_EQ(view().starLabel, QString());
        EXPECT_FALSE(view().busy || view().progressBarShown || view().captionShown);
        EXPECT_FALSE(state().star.FileLoaded);
        EXPECT_EQ(table().Count(), 0);
        EXPECT_TRUE(test::Blank(picView));
    }
}

TEST_F(Loads, UnloadStarForgetsTheStarButNotTheUsersChoices) {
    const std::string path = WriteRLeo();
    LoadAndFill(path);
    commands->ShowWindow(2454124, 2454126, 9, 11);
    state().overlay.tool = Tool::Box;
    state().overlay.OmitFainter = true;
    state().overlay.StatsShown = true;
    state().star.FileEdited = true;
    ASSERT_TRUE(commands->UnloadStar());

    const AppState& s = state();
    EXPECT_EQ(s.settings.FilePath, "");
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(s.view.MagMagnification, 1.0f);
    EXPECT_EQ(EdgesOf(s.view), (Edges{0, 0, 0, 0}));
    EXPECT_FALSE(s.overlay.BoxMode());
    EXPECT_FALSE(s.star.FileLoaded || s.star.FileEdited);
    EXPECT_TRUE(s.overlay.OmitFainter && s.overlay.StatsShown);
    EXPECT_EQ(s.star.FilesFolder, dir.file("files"));
    EXPECT_EQ(table().Count(), 0);
    // The first panel keeps naming the file; the magnification panel is emptied.
    EXPECT_EQ(view().look, Look::Empty);
    EXPECT_EQ(view().starLabel, QString());
    EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + path));
    EXPECT_EQ(view().panels[1], QString());
    EXPECT_TRUE(test::Blank(picView) && test::Blank(picJDScale) && test::Blank(picMagScale));
}

TEST_F(Loads, RowTheDatabaseRefusesAfterTheFirstPlotAbandonsTheImportWithItsMessage) {
    {
        SQLite::Database db(WorkingDatabasePath(dir.path()), SQLite::OPEN_READWRITE);
        db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON Obs WHEN NEW.JD = 2454125.5 "
            "BEGIN SELECT RAISE(ABORT, 'Data type conversion error.'); END");
    }
    commands->LoadStarFile(WriteRLeo());
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_TRUE(prompts.messages.empty());

    std::optional<WindowView> behindTheMessage;
    prompts.onMessage = [&](const Msg&) { behindTheMessage = host.presented.back(); };
    commands->FinishFill();
    const Msg failed = {
        "Error in loading database. Check source file. Last JD loaded was: "
        "2454125.5.\r\nData type conversion error.",
        "Error", Buttons::OK, Icon::Critical};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{failed});
    ASSERT_TRUE(behindTheMessage);
    EXPECT_EQ(behindTheMessage->look, Look::Empty);
    ExpectNothingKept();
    // The next load starts from a fresh table, without the refusing trigger.
    commands->LoadStarFile(WriteRLeo());
    commands->FinishFill();
    EXPECT_EQ(table().Count(), 3);
}

TEST_F(Loads, CancelDuringTheReadOrTheFillKeepsNothingOfTheFileAndSaysNothing) {
    struct Moment {
        const char* name;
        bool duringRead;
        std::function<void()> load;
    };
    const std::vector<Moment> moments = {
        {"star file, read", true,
         [&] { commands->LoadStarFile(test::SampleFile("download-mixed.txt")); }},
        {"star file, fill", false,
         [&] { commands->LoadStarFile(test::SampleFile("download-mixed.txt")); }},
        {"three-column file, read", true,
         [&] { commands->LoadThreeColumnFile(test::SampleFile("three-column.dat")); }},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.name);
        test::WriteFileBytes(dir.file("files/Errors.txt"), "earlier\r\n");
        if (m.duringRead)
            host.onPresent = [&](const WindowView& v) {
                if (v.busy && v.look == Look::Loading) commands->CancelLoad();
            };
        m.load();
        if (!m.duringRead) {
            ASSERT_TRUE(view().filling);
            commands->CancelLoad();
        }
        host.onPresent = nullptr;
        EXPECT_TRUE(prompts.messages.empty());
        ExpectNothingKept();
        EXPECT_FALSE(state().star.ThreeColumnFormat);
        if (m.duringRead) {
            EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "earlier\r\n");
        }
    }
}

// ---- A three-column file ------------------------------------------------------------------

TEST_F(Loads, ThreeColumnFileLoadsAndSavesToANewFileAfterABackup) {
    const std::string path = dir.file("three-column.dat");
    std::filesystem::copy_file(test::SampleFile("three-column.dat"), path);
    const std::string loaded = test::ReadFileBytes(path);
    prompts.file(QString::fromStdString(path));
    commands->mnuXYZ_Click();
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString::fromStdString("File: " + path + " - (383 Points)"));
    EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + path));
    EXPECT_TRUE(state().star.ThreeColumnFormat);

    const std::string output = dir.file("saved.txt");
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(output));
    commands->mnuSaveXYZ_Click();
    EXPECT_TRUE(prompts.messages.empty());
    const std::string text = test::ReadFileBytes(output);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 383);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "2165.84172      14.253  0.0050  \r\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("three-column.bak")), loaded);
    EXPECT_EQ(test::ReadFileBytes(path), loaded);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(view().look, Look::Plot);

    // A fainter-than estimate goes out and comes back as one.
    prompts.answer(Answer::OK);
    prompts.file(
        QString::fromStdString(WriteFile("faint.dat", {"2454123.5 9.1", "2454124.5 <12.5"})));
    commands->mnuXYZ_Click();
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("again.txt")));
    commands->mnuSaveXYZ_Click();
    const std::string saved = ThreeColumnFileText(table());
    commands->LoadThreeColumnFile(dir.file("again.txt"));
    EXPECT_EQ(ThreeColumnFileText(table()), saved);
    EXPECT_EQ(table().RowById(2)->Faint + FormatDouble(table().RowById(2)->Mag), "<12.5");
    EXPECT_EQ(prompts.messages.size(), 1u);  // the question before unloading
}

TEST_F(Loads, ThreeColumnFileThatCannotBeLoadedSaysWhyAndKeepsNothing) {
    test::WriteFileBytes(dir.file("bad.txt"), "2454123.5 9.1\nJD MAG\n");
    const struct {
        std::string file;
        Msg message;
    } cases[] = {
        {dir.file("gone.v.txt"),
         {QString::fromStdString("File " + dir.file("gone.v.txt") + " not found."), "File Error",
          Buttons::OK, Icon::Exclamation}},
        {dir.file("bad.txt"),
         {kCheckSource + "\r\nLine 2: JD \"JD\" is not a number.", "Error", Buttons::OK,
          Icon::Critical}},
        {dir.path() + "/no-point",
         {kCheckSource + "\r\nThe file name " + QString::fromStdString(dir.path()) +
              "/no-point has no \".\".",
          "Error", Buttons::OK, Icon::Critical}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        prompts.messages.clear();
        commands->LoadThreeColumnFile(c.file);
        EXPECT_EQ(prompts.messages, std::vector<Msg>{c.message});
        EXPECT_FALSE(state().star.FileLoaded);
        EXPECT_EQ(table().Count(), 0);
        EXPECT_NE(view().look, Look::Plot);
    }
    // With a file loaded, the question names the star as the file's own name.
    commands->LoadThreeColumnFile(test::SampleFile("three-column.dat"));
    prompts.messages.clear();
    prompts.answer(Answer::Cancel);
    commands->mnuXYZ_Click();
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Unload current file three-column ?", "Unload Current File?",
                                 Buttons::OKCancel, Icon::Question}}));
    EXPECT_TRUE(state().star.FileLoaded);
}

}  // namespace
}  // namespace sabrix
