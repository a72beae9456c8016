// SPDX-License-Identifier: GPL-3.0-or-later
// Loading through the commands: the star file drawn from its columns first and its rows
// filled behind the plot, the three-column file in one pass, the ways a load fails or is
// cancelled, and unloading.
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
        EXPECT_EQ(view().look, Look::Start);
        EXPECT_EQ(view().panels, (std::array<QString, 4>{}));
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
    EXPECT_EQ(commands->Run(cmd::mnuLoad_Click).look, Look::Start);

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

    // The file comes first, in the loaded file's folder; Cancel in the question keeps the star.
    const std::string tcrb = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    prompts.file(QString::fromStdString(tcrb));
    prompts.answer(Answer::Cancel);
    commands->Run(cmd::mnuLoad_Click);
    const Msg unload = {"Unload current star R LEO ?", "Unload Current Star?", Buttons::OKCancel,
                        Icon::Question};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{unload});
    EXPECT_EQ(prompts.fileDialogs[2].initialFolder, QString::fromStdString(path));
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(table().Count(), 3);

    prompts.answer(Answer::OK);
    LoadThroughTheMenu(tcrb);
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_EQ(state().view.WinJDWidth, 210.0);
    EXPECT_EQ(prompts.messages.size(), 2u);
}

// Load 3-Column File opened its dialog in the program's files folder.
TEST_F(Loads, BothMenuLoadsStartInTheDataFolder) {
    state().settings.FilePath = dir.file("stars");
    prompts.file(std::nullopt);
    commands->Run(cmd::mnuXYZ_Click);
    prompts.file(std::nullopt);
    commands->Run(cmd::mnuLoad_Click);
    ASSERT_EQ(prompts.fileDialogs.size(), 2u);
    for (const FileDialogOptions& dialog : prompts.fileDialogs)
        EXPECT_EQ(dialog.initialFolder, QString::fromStdString(dir.file("stars")));
}

// Agreeing to unload and then cancelling the dialog left an empty window, and unsaved edits
// went without the question that Exit asks.
TEST_F(Loads, EveryLoadAsksForItsFileFirstAndOffersToSaveUnsavedEditsBeforeUnloading) {
    commands->setPreferencesFolder(dir.path());
    const std::string rleo = WriteRLeo();
    const std::string tcrb = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    const std::string rcar = WriteFile("rcar.dat", {"2454123.5 9.1", "2454130.5 11.2"});
    LoadAndFill(tcrb);
    LoadAndFill(rleo);
    const Msg unloadStar = {"Unload current star R LEO ?", "Unload Current Star?",
                            Buttons::OKCancel, Icon::Question};
    const Msg unloadFile = {"Unload current file r leo ?", "Unload Current File?",
                            Buttons::OKCancel, Icon::Question};
    const Msg reconfigure = {
        QString::fromStdString("You cannot change the configuration while a file is loaded."
                               "\r\n\r\nDo you want to unload the file " +
                               rleo + "?"),
        "Cannot Reconfigure", Buttons::YesNoCancel, Icon::None};
    const Msg save = {QString::fromStdString("You have edited file " + rleo +
                                             " but have not saved it. Would you like another "
                                             "chance to save?"),
                      "Do You Want to Save?", Buttons::YesNo, Icon::None};
    struct Way {
        const char* name;
        std::function<void()> load;  // with its file chosen
        std::function<void()> cancel;
        Msg question;
    };
    const std::vector<Way> ways = {
        {"Load a File",
         [&] {
             prompts.file(QString::fromStdString(tcrb));
             commands->Run(cmd::mnuLoad_Click);
         },
         [&] {
             prompts.file(std::nullopt);
             commands->Run(cmd::mnuLoad_Click);
         },
         unloadStar},
        {"Load 3-Column File",
         [&] {
             prompts.file(QString::fromStdString(rcar));
             commands->Run(cmd::mnuXYZ_Click);
         },
         [&] {
             prompts.file(std::nullopt);
             commands->Run(cmd::mnuXYZ_Click);
         },
         unloadFile},
        {"a recent file", [&] { commands->Run(cmd::mnuRecent_Click, 1); }, {}, unloadStar},
        {"a drop", [&] { commands->Run(cmd::DropFile, rcar); }, {}, unloadFile},
        {"Configure", [&] { commands->Run(cmd::PrepareConfiguration); }, {}, reconfigure},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        if (way.cancel) {
            // A cancelled dialog asks nothing and changes nothing.
            way.cancel();
            EXPECT_TRUE(prompts.messages.empty());
        }
        // Edits unsaved: after agreeing to unload, Yes to another chance keeps everything.
        state().star.FileEdited = true;
        prompts.answer(way.question.buttons == Buttons::OKCancel ? Answer::OK : Answer::Yes);
        prompts.answer(Answer::Yes);
        way.load();
        EXPECT_EQ(prompts.messages, (std::vector<Msg>{way.question, save}));
        EXPECT_EQ(view().look, Look::Plot);
        EXPECT_EQ(view().starLabel, QString("R LEO - (3 Points)"));
        EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + rleo));
        EXPECT_TRUE(state().star.FileEdited);
        EXPECT_EQ(table().Count(), 3);
        prompts.messages.clear();
    }
    // No: the edits go, and the file chosen loads.
    prompts.answer(Answer::OK);
    prompts.answer(Answer::No);
    ways[0].load();
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(prompts.messages, (std::vector<Msg>{unloadStar, save}));
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_FALSE(state().star.FileEdited);
    // The question names the file that holds the edits, a three-column file as well.
    prompts.messages.clear();
    commands->Run(cmd::LoadThreeColumnFile, rcar);
    state().star.FileEdited = true;
    prompts.answer(Answer::Yes);
    EXPECT_FALSE(commands->Run(cmd::QueryUnload));
    EXPECT_EQ(prompts.messages.back().text,
              QString::fromStdString("You have edited file " + rcar +
                                     " but have not saved it. Would you like another chance to "
                                     "save?"));
}

TEST_F(Loads, FileChosenElsewhereIsPlottedFirstAndItsRowsFilledBehindThePlot) {
    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    commands->Run(cmd::LoadStarFile, test::SampleFile("download-ccd.txt"));
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
    EXPECT_EQ(progress.back().progressCaption, QString("Loading 340 Records for PDS 110"));
    EXPECT_TRUE(progress.back().captionShown);

    // The plot is there while the rows are written; the progress shows the fill.
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString("PDS 110 - (340 Points)"));
    EXPECT_FALSE(view().busy);
    EXPECT_TRUE(view().filling && view().cancelShown && view().progressBarShown &&
                view().captionShown);
    EXPECT_EQ(view().progressCaption, QString("Loading 340 Records for PDS 110"));
    EXPECT_FALSE(commands->TableReady());

    // Navigation and the zooms work from the columns ...
    const Edges full = EdgesOf(state().view);
    commands->Run(cmd::ShowWindow, full.left + 10, full.left + 100, full.top, full.bottom);
    EXPECT_EQ(EdgesOf(state().view).right, full.left + 100);
    commands->Run(cmd::cmdReset_Click);
    EXPECT_EQ(EdgesOf(state().view), full);
    // ... the commands that need the rows do nothing until they are in: no question, no dialog.
    state().star.FileEdited = true;
    commands->Run(cmd::mnuLoad_Click);
    commands->Run(cmd::LoadStarFile, other);
    commands->Run(cmd::mnuXYZ_Click);
    commands->Run(cmd::LoadThreeColumnFile, other);
    commands->Run(cmd::mnuSave_Click);
    commands->Run(cmd::mnuSaveXYZ_Click);
    commands->Run(cmd::mnuSaveDownload_Click);
    EXPECT_FALSE(commands->Run(cmd::PrepareConfiguration));
    commands->Run(cmd::DropFile, other);
    commands->Run(cmd::BoxFinder, 0, 0, picView.pixelWidth(), picView.pixelHeight());
    commands->Run(cmd::Finder, picView.pixelWidth() / 2.0, picView.pixelHeight() / 2.0);
    EXPECT_EQ(commands->recordList(), nullptr);
    EXPECT_TRUE(prompts.messages.empty() && prompts.fileDialogs.empty());
    EXPECT_EQ(view().starLabel, QString("PDS 110 - (340 Points)"));
    state().star.FileEdited = false;

    commands->Run(cmd::FinishFill);
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
         {kCheckSource + "\r\nNo line of the file is an observation.", "Sabrix", Buttons::OK,
          Icon::None}},
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
        EXPECT_EQ(view().look, Look::Start);
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
    commands->Run(cmd::ShowWindow, 2454124, 2454126, 9, 11);
    commands->Run(cmd::picView_MouseMove, 0, 0, 1, 10);
    ASSERT_FALSE(view().panels[2].isEmpty() || view().panels[3].isEmpty());
    state().overlay.tool = Tool::Box;
    state().overlay.OmitFainter = true;
    state().overlay.StatsShown = true;
    state().star.FileEdited = true;
    ASSERT_TRUE(commands->Run(cmd::UnloadStar));

    const AppState& s = state();
    // The next dialog starts in the folder of the file unloaded.
    EXPECT_EQ(s.settings.FilePath, dir.path() + "/");
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(s.view.MagMagnification, 1.0f);
    EXPECT_EQ(EdgesOf(s.view), (Edges{0, 0, 0, 0}));
    EXPECT_FALSE(s.overlay.BoxMode());
    EXPECT_FALSE(s.star.FileLoaded || s.star.FileEdited);
    EXPECT_TRUE(s.overlay.OmitFainter && s.overlay.StatsShown);
    EXPECT_EQ(s.star.FilesFolder, dir.file("files"));
    EXPECT_EQ(table().Count(), 0);
    // The start page with its titles; the status bar names no file and reads no pointer
    // (the old file's name stayed, and so did the last readout).
    EXPECT_EQ(view().look, Look::Start);
    EXPECT_EQ(view().starLabel, QString());
    EXPECT_EQ(view().panels, (std::array<QString, 4>{}));
    EXPECT_TRUE(test::Blank(picView) && test::Blank(picJDScale) && test::Blank(picMagScale));
}

TEST_F(Loads, RowTheDatabaseRefusesAfterTheFirstPlotAbandonsTheImportWithItsMessage) {
    {
        SQLite::Database db(WorkingDatabasePath(dir.path()), SQLite::OPEN_READWRITE);
        db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON Obs WHEN NEW.JD = 2454125.5 "
            "BEGIN SELECT RAISE(ABORT, 'Data type conversion error.'); END");
    }
    commands->Run(cmd::LoadStarFile, WriteRLeo());
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_TRUE(prompts.messages.empty());

    std::optional<WindowView> behindTheMessage;
    prompts.onMessage = [&](const Msg&) { behindTheMessage = host.presented.back(); };
    commands->Run(cmd::FinishFill);
    const Msg failed = {
        "Error in loading database. Check source file. Last JD loaded was: "
        "2454125.5.\r\nData type conversion error.",
        "Error", Buttons::OK, Icon::Critical};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{failed});
    ASSERT_TRUE(behindTheMessage);
    EXPECT_EQ(behindTheMessage->look, Look::Start);
    ExpectNothingKept();
    // The next load starts from a fresh table, without the refusing trigger.
    commands->Run(cmd::LoadStarFile, WriteRLeo());
    commands->Run(cmd::FinishFill);
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
         [&] { commands->Run(cmd::LoadStarFile, test::SampleFile("download-mixed.txt")); }},
        {"star file, fill", false,
         [&] { commands->Run(cmd::LoadStarFile, test::SampleFile("download-mixed.txt")); }},
        {"three-column file, read", true,
         [&] { commands->Run(cmd::LoadThreeColumnFile, test::SampleFile("three-column.dat"), 0); }},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.name);
        test::WriteFileBytes(dir.file("files/Errors.txt"), "earlier\r\n");
        if (m.duringRead)
            host.onPresent = [&](const WindowView& v) {
                if (v.busy && v.look == Look::Loading) commands->Run(cmd::CancelLoad);
            };
        m.load();
        if (!m.duringRead) {
            ASSERT_TRUE(view().filling);
            commands->Run(cmd::picView_MouseMove, 0, 0, 1, 10);
            commands->Run(cmd::CancelLoad);
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
    prompts.text(std::nullopt);  // no offset for its reduced times
    commands->Run(cmd::mnuXYZ_Click);
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_EQ(view().starLabel, QString::fromStdString("File: " + path + " - (383 Points)"));
    EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + path));
    EXPECT_TRUE(state().star.ThreeColumnFormat);

    const std::string output = dir.file("saved.txt");
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(output));
    commands->Run(cmd::mnuSaveXYZ_Click);
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
    commands->Run(cmd::mnuXYZ_Click);
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("again.txt")));
    commands->Run(cmd::mnuSaveXYZ_Click);
    const std::string saved = ThreeColumnFileText(table());
    commands->Run(cmd::LoadThreeColumnFile, dir.file("again.txt"));
    EXPECT_EQ(ThreeColumnFileText(table()), saved);
    EXPECT_EQ(table().RowById(2)->Faint + FormatDouble(table().RowById(2)->Mag), "<12.5");
    EXPECT_EQ(prompts.messages.size(), 1u);  // the question before unloading
}

// Survey files of HJD - 2450000 were labelled with their bare times, their calendar dates in
// the year -4706.
TEST_F(Loads, ReducedTimesOfAThreeColumnFileAreOfferedAnOffsetForTheScaleAndTheReadout) {
    const std::string path = dir.file("survey.dat");
    std::filesystem::copy_file(test::SampleFile("three-column.dat"), path);
    const QString explanation = QString::fromStdString(
        "Every time in " + path +
        " is below 100000:\r\nreduced Julian Dates, such as HJD - 2450000?\r\n\r\nDays to add "
        "to the times on the JD scale, in the pointer readout\r\nand in the calendar dates (the "
        "file keeps its own times):");
    // A text that is no number is refused and asked for again, as typed.
    prompts.file(QString::fromStdString(path));
    prompts.text("2450000 days");
    prompts.text("2450000");
    // Asked over the plot drawn, not over the window of the plotting.
    prompts.onInput = [&](const test::RecordedInput&) {
        EXPECT_EQ(host.presented.back().look, Look::Plot);
        EXPECT_FALSE(host.presented.back().busy || host.presented.back().captionShown);
    };
    commands->Run(cmd::mnuXYZ_Click);
    prompts.onInput = nullptr;
    EXPECT_EQ(prompts.inputs,
              (std::vector<test::RecordedInput>{{explanation, "Reduced Times", "2450000"},
                                                {explanation, "Reduced Times", "2450000 days"}}));
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Type the offset as a number of days, for example 2450000.",
                                 "Reduced Times", Buttons::OK, Icon::Exclamation}}));
    EXPECT_EQ(state().star.TimeOffset, 2450000.0);
    EXPECT_EQ(view().look, Look::Plot);
    const QImage fullDates = picJDScale.image();

    // The readout adds it (the first observation is at 2165.84172), the calendar dates too.
    commands->Run(cmd::picView_MouseMove, 0, 0, 0, 14);
    EXPECT_EQ(view().panels[2], QString("JD = 2452165.8417"));
    commands->Run(cmd::mnuCalendar_Click);
    commands->Run(cmd::picView_MouseMove, 0, 0, 0, 14);
    EXPECT_EQ(view().panels[2], QString("JD = 2452165.8417  2001-09-13 08:12 UTC"));
    commands->Run(cmd::picJDScale_MouseMove, 2200);
    EXPECT_EQ(view().panels[2], QString("JD = 2452200  2001-10-17 12:00 UTC"));
    commands->Run(cmd::mnuCalendar_Click);
    // The table and what is saved keep the times of the file.
    EXPECT_EQ(table().RowById(1)->JD, 2165.84172);
    EXPECT_EQ(ThreeColumnFileText(table()).substr(0, 12), "2165.84172  ");

    // Cancel, or 0, leaves the times as the file has them; the next load starts without one.
    for (const std::optional<QString>& typed :
         {std::optional<QString>(), std::optional<QString>("0")}) {
        prompts.text(typed);
        commands->Run(cmd::LoadThreeColumnFile, path);
        EXPECT_EQ(state().star.TimeOffset, 0.0);
        EXPECT_NE(picJDScale.image(), fullDates);
    }
    // Times of JD - 2400000 are offered that offset; full Julian Dates are asked nothing.
    prompts.inputs.clear();
    prompts.text(std::nullopt);
    commands->Run(cmd::LoadThreeColumnFile, WriteFile("rjd.dat", {"52165.8 14.2", "52170.8 14.0"}));
    ASSERT_EQ(prompts.inputs.size(), 1u);
    EXPECT_EQ(prompts.inputs[0].proposed, QString("2400000"));
    commands->Run(cmd::LoadThreeColumnFile,
                  WriteFile("jd.dat", {"2452165.8 14.2", "2452170.8 14.0"}));
    EXPECT_EQ(prompts.inputs.size(), 1u);
    EXPECT_EQ(state().star.TimeOffset, 0.0);
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
        commands->Run(cmd::LoadThreeColumnFile, c.file);
        EXPECT_EQ(prompts.messages, std::vector<Msg>{c.message});
        EXPECT_FALSE(state().star.FileLoaded);
        EXPECT_EQ(table().Count(), 0);
        EXPECT_NE(view().look, Look::Plot);
    }
    // With a file loaded, the question names the star as the file's own name.
    commands->Run(cmd::LoadThreeColumnFile, test::SampleFile("three-column.dat"), 0);
    prompts.messages.clear();
    prompts.file(QString::fromStdString(dir.file("bad.txt")));
    prompts.answer(Answer::Cancel);
    commands->Run(cmd::mnuXYZ_Click);
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Unload current file three-column ?", "Unload Current File?",
                                 Buttons::OKCancel, Icon::Question}}));
    EXPECT_TRUE(state().star.FileLoaded);
}

}  // namespace
}  // namespace sabrix
