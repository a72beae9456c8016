#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/Bins.h"
#include "app/MainWindowCommands.h"
#include "core/SabrixError.h"
#include "interaction/RecordFields.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"
#include "support/DownloadLines.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::DataLine;
using Look = WindowView::Look;
using Msg = test::RecordedMessage;
using Step = const WindowView& (MainWindowCommands::*)();

constexpr int32_t kRed = 255;              // the first-start colour of band R
constexpr int32_t kBandV = 16744448;       // of band V
constexpr int32_t kFainterThan = 9539985;  // of a fainter-than estimate
constexpr int32_t kBlue = 16711680;

const QString kCheckSource = "Error in loading database. Check source file.";

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }
};

// The edges of the plot window: JD left and right, magnitude top and bottom.
struct Edges {
    double left;
    double right;
    double top;
    double bottom;
    bool operator==(const Edges&) const = default;
};

void PrintTo(const Edges& e, std::ostream* os) {
    *os << std::fixed << "JD " << e.left << " to " << e.right << ", mag " << e.top << " to "
        << e.bottom;
}

Edges EdgesOf(const PlotWindowState& v) {
    return {v.WinJDLeft, v.WinJDRight, v.WinMagTop, v.WinMagBottom};
}

bool Blank(const Canvas& canvas) {
    for (int y = 0; y < canvas.pixelHeight(); ++y)
        for (int x = 0; x < canvas.pixelWidth(); ++x)
            if (canvas.pixelColor(x, y) != 0) return false;
    return true;
}

class Commands : public test::CommandsFixture {
  protected:
    // Three observations of R Leo: a red R-band row between two V-band rows, after the
    // header line of a download, which is skipped.
    std::string WriteRLeo() {
        return WriteFile("rleo.txt", {test::kDownloadHeader,
                                      DataLine("2454123.5", "9.1", "V", "r leo ", "ABC", "XYZ"),
                                      DataLine("2454125.5", "10.5", "R", "r leo "),
                                      DataLine("2454130.5", "11.2", "V", "r leo ")});
    }

    void LoadThroughTheMenu(const std::string& path) {
        prompts.file(QString::fromStdString(path));
        commands->mnuLoad_Click();
        commands->FinishFill();
    }

    // Marks every observation of the observer in blue and draws the plot with the marks.
    void MarkObserver(const std::string& init) {
        table().MarkObserverInIdOrder(init, kBlue, "1", [](double, double) {});
        marks().ObserverMarked = true;
        marks().MarkCount = 1;
        commands->Redraw(true);
    }
};

// ---- Loading ------------------------------------------------------------------------------

TEST_F(Commands, LoadAsksForTheFileShowsThePlotAndLoadingAgainAsksToUnloadFirst) {
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
    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
    EXPECT_EQ(ColorAt(2454123.5, 9.1), kBandV);

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

TEST_F(Commands, FileChosenElsewhereIsPlottedFirstAndItsRowsFilledBehindThePlot) {
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

TEST_F(Commands, RejectedLinesAreReportedWithTheirCountsOverTheFinishedPlot) {
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

TEST_F(Commands, FilesThatCannotBeLoadedShowWhyAndLeaveTheEmptyLookNamingNoFile) {
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
        EXPECT_TRUE(Blank(picView));
    }
}

TEST_F(Commands, UnloadStarForgetsTheStarButNotTheUsersChoices) {
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
    EXPECT_TRUE(Blank(picView) && Blank(picJDScale) && Blank(picMagScale));
}

TEST_F(Commands, ThreeColumnFileLoadsAndSavesToANewFileAfterABackup) {
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
}

// ---- Saving -------------------------------------------------------------------------------

TEST_F(Commands, SaveWritesOverTheStarFileAfterABackupShowingItsStepsMeanwhile) {
    const std::string path = WriteRLeo();
    const std::string loaded = test::ReadFileBytes(path);
    LoadAndFill(path);
    FixedClock clock;
    commands->setClock(&clock);
    state().star.FileEdited = true;
    // What the window shows each time the event loop turns, so the user can see it.
    std::vector<QString> captions;
    host.onYield = [&] {
        const WindowView& shown = host.presented.back();
        EXPECT_TRUE(shown.busy);
        EXPECT_EQ(shown.look, Look::Saving);
        EXPECT_TRUE(shown.captionShown);
        captions.push_back(shown.progressCaption);
    };
    prompts.answer(Answer::Yes);
    commands->mnuSave_Click();

    const Msg sure = {QString::fromStdString("Are you SURE you want to overwrite " + path + "?"),
                      "Are you SURE?", Buttons::YesNo, Icon::None};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{sure});
    EXPECT_EQ(test::ReadFileBytes(path),
              "Edited data for r leo. File created on 03-05-2024 at 14:07:09\r\n"
              "\r\n"
              "         R LEO            2454123.5      9.1  ABC     XYZ  \r\n"
              "         R LEO            2454125.5     10.5          ABC  \r\n"
              "         R LEO            2454130.5     11.2          ABC  \r\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("rleo.bak")), loaded);
    EXPECT_FALSE(state().star.FileEdited);

    EXPECT_EQ(captions, (std::vector<QString>{"Backing up file. . . .", "Saving. . . ."}));
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_FALSE(view().busy || view().captionShown);
}

// ---- Jobs ---------------------------------------------------------------------------------

// Runs the command with arguments that would change something if it ran: the other file
// loaded, a corner of the plot pressed, the first line of the list chosen, and so on.
#pragma GCC diagnostic push
#pragma GCC diagnostic error "-Wswitch"
void Invoke(MainWindowCommands& c, Command command, const std::string& other) {
    const std::vector<RecordField> noFields;
    switch (command) {
        case Command::OpenWorkingTable:
            c.OpenWorkingTable();
            return;
        case Command::UnloadStar:
            c.UnloadStar();
            return;
        case Command::CloseWorkingTable:
            c.CloseWorkingTable(0);
            return;
        case Command::mnuLoad_Click:
            c.mnuLoad_Click();
            return;
        case Command::LoadStarFile:
            c.LoadStarFile(other);
            return;
        case Command::PollFill:
            c.PollFill();
            return;
        case Command::FinishFill:
            c.FinishFill();
            return;
        case Command::CancelLoad:
            c.CancelLoad();
            return;
        case Command::mnuXYZ_Click:
            c.mnuXYZ_Click();
            return;
        case Command::LoadThreeColumnFile:
            c.LoadThreeColumnFile(other);
            return;
        case Command::mnuCalendar_Click:
            c.mnuCalendar_Click();
            return;
        case Command::mnuRecent_Click:
            c.mnuRecent_Click(0);
            return;
        case Command::DropFile:
            c.DropFile(other);
            return;
        case Command::QueryUnload:
            EXPECT_FALSE(c.QueryUnload());
            return;
        case Command::PrepareConfiguration:
            EXPECT_FALSE(c.PrepareConfiguration());
            return;
        case Command::Configure:
            EXPECT_TRUE(c.Configure([](Settings& s) { return !(s.ConnectMarked = true); }));
            return;
        case Command::mnuSave_Click:
            c.mnuSave_Click();
            return;
        case Command::mnuSaveXYZ_Click:
            c.mnuSaveXYZ_Click();
            return;
        case Command::mnuSaveDownload_Click:
            c.mnuSaveDownload_Click();
            return;
        case Command::mnuExport_Click:
            c.mnuExport_Click();
            return;
        case Command::ExportPlotImage:
            EXPECT_FALSE(c.ExportPlotImage(other + ".png", 100, 100));
            return;
        case Command::PlotImageOf:
            EXPECT_THROW(c.PlotImageOf(PlotImageFormat::Png, 100, 100), SabrixError);
            return;
        case Command::Redraw:
            c.Redraw(true);
            return;
        case Command::cmdReset_Click:
            c.cmdReset_Click();
            return;
        case Command::cmdRefresh_Click:
            c.cmdRefresh_Click();
            return;
        case Command::mnuFaint_Click:
            c.mnuFaint_Click();
            return;
        case Command::cmdBack_Click:
            c.cmdBack_Click();
            return;
        case Command::cmdForward_Click:
            c.cmdForward_Click();
            return;
        case Command::cmdBegin_Click:
            c.cmdBegin_Click();
            return;
        case Command::cmdEnder_Click:
            c.cmdEnder_Click();
            return;
        case Command::cmdUp_Click:
            c.cmdUp_Click();
            return;
        case Command::CmdDown_Click:
            c.CmdDown_Click();
            return;
        case Command::ShowWindow:
            c.ShowWindow(2454122, 2454123, 9, 10);
            return;
        case Command::mnuStats_Click:
            c.mnuStats_Click();
            return;
        case Command::frmStats_Unload:
            c.frmStats_Unload();
            return;
        case Command::cmdLocate_Click:
            c.cmdLocate_Click();
            return;
        case Command::cmdBox_Click:
            c.cmdBox_Click();
            return;
        case Command::cmdZoomBox_Click:
            c.cmdZoomBox_Click();
            return;
        case Command::cmdMag_Click:
            c.cmdMag_Click();
            return;
        case Command::cmdJDZoom_Click:
            c.cmdJDZoom_Click();
            return;
        case Command::cmdMagZoom_Click:
            c.cmdMagZoom_Click();
            return;
        // Pressed, moved and released at JD 2454125, magnitude 10 with the magnify tool.
        case Command::picView_MouseDown:
            c.picView_MouseDown(1, 0, 1.5, 10);
            return;
        case Command::picView_MouseMove:
            c.picView_MouseMove(1, 0, 1.6, 10.1);
            return;
        case Command::picView_MouseUp:
            c.picView_MouseUp(1, 0, 1.6, 10.1);
            return;
        case Command::picJDScale_MouseDown:
            c.picJDScale_MouseDown(1, 0, 2454125, 10);
            return;
        case Command::picMagScale_MouseDown:
            c.picMagScale_MouseDown(1, 0, 10, 10);
            return;
        case Command::picJDScale_MouseMove:
            c.picJDScale_MouseMove(0, 0, 2454125, 10);
            return;
        case Command::picMagScale_MouseMove:
            c.picMagScale_MouseMove(0, 0, 10, 10);
            return;
        case Command::Form_MouseMove:
            c.Form_MouseMove();
            return;
        case Command::WheelZoom:
            c.WheelZoom(1, false, 1.5, 10);
            return;
        case Command::mnuPrevious_Click:
            c.mnuPrevious_Click();
            return;
        case Command::mnuDocs_Click:
            c.mnuDocs_Click();
            return;
        case Command::mnuViewer_Click:
            c.mnuViewer_Click();
            return;
        case Command::mnuManage_Click:
            c.mnuManage_Click();
            return;
        case Command::mnuWebSite_Click:
            c.mnuWebSite_Click();
            return;
        case Command::OpenURL:
            c.OpenURL("https://example.org/");
            return;
        case Command::cmdBin_Click:
            c.cmdBin_Click();
            return;
        case Command::mnuAvg_Click:
            c.mnuAvg_Click();
            return;
        case Command::cmdPoly_Click:
            c.cmdPoly_Click();
            return;
        case Command::mnuPoly_Click:
            c.mnuPoly_Click();
            return;
        case Command::EnterBins:
            EXPECT_FALSE(c.EnterBins(InitialBinFields(c.state())));
            return;
        case Command::PlotPolyFit:
            EXPECT_FALSE(c.PlotPolyFit("2"));
            return;
        case Command::BoxFinder:
            c.BoxFinder(-100, 0, 100, 20);
            return;
        case Command::Finder:
            c.Finder(1.5, 10);
            return;
        case Command::lstRecords_Click:
            c.lstRecords_Click({0}, 0);
            return;
        case Command::cmdLog_Click:
            c.cmdLog_Click();
            return;
        case Command::cmdDelete_Click:
            c.cmdDelete_Click();
            return;
        case Command::cmdEdit_Click:
            c.cmdEdit_Click();
            return;
        case Command::cmdMark_Click:
            c.cmdMark_Click();
            return;
        case Command::cmd0_Click:
            c.cmd0_Click(3);
            return;
        case Command::cmdMoreColors_Click:
            c.cmdMoreColors_Click();
            return;
        case Command::cmdClose_Click:
            c.cmdClose_Click();
            return;
        case Command::frmSelect_Unload:
            c.frmSelect_Unload();
            return;
        case Command::SaveEditedRecord:
            EXPECT_FALSE(c.SaveEditedRecord(1, noFields));
            return;
        case Command::kCount:
            return;
    }
}
#pragma GCC diagnostic pop

TEST_F(Commands, EveryCommandIsRefusedWhileALoadASaveOrAPlotRuns) {
    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    auto snapshot = [&] {
        return std::make_tuple(
            EdgesOf(state().view), state().view.JDMagnification, state().star.FileLoaded,
            state().star.FileEdited, state().overlay.OmitFainter, marks().ObserverMarked,
            commands->TableReady() ? table().Count() : -1, prompts.messages.size(),
            prompts.fileDialogs.size(), host.presented.size(), picView.revision(),
            state().overlay.tool, view().panels, view().rubberBand.has_value(),
            state().overlay.StatsShown, view().statsChecked, state().overlay.CalendarDates,
            view().recentFiles, binsShown(), polyShown(), commands->recordList() != nullptr,
            state().settings.ConnectMarked);
    };
    // Every command that needs more than Anytime, from inside each turn that a job hands the
    // event loop.
    int turns = 0;
    auto tryEveryCommand = [&] {
        if (!view().busy) return;
        ++turns;
        for (const CommandNeed& need : kCommandNeeds) {
            if (need.needs == Needs::Anytime) continue;
            SCOPED_TRACE(need.name);
            const auto before = snapshot();
            Invoke(*commands, need.command, other);
            EXPECT_EQ(snapshot(), before);
        }
    };

    commands->setPreferencesFolder(dir.path());
    LoadAndFill(WriteRLeo());
    commands->ShowWindow(2454124, 2454126, 9, 11);
    commands->cmdBack_Click();
    ASSERT_TRUE(view().previousViewAvailable);
    commands->cmdMag_Click();
    MarkObserver("XYZ");
    state().star.FileEdited = true;
    host.onPresent = [&](const WindowView&) { tryEveryCommand(); };
    host.onYield = tryEveryCommand;

    commands->Redraw(true);
    EXPECT_GT(turns, 0) << "plot";

    // With the record list open, its commands have rows to work on.
    commands->BoxFinder(-100, 0, 100, 20);
    ASSERT_NE(commands->recordList(), nullptr);
    turns = 0;
    prompts.answer(Answer::Yes);
    commands->mnuSave_Click();
    EXPECT_GT(turns, 0) << "save";
    EXPECT_FALSE(state().star.FileEdited);

    turns = 0;
    commands->LoadStarFile(other);
    EXPECT_GT(turns, 0) << "load";
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_EQ(prompts.messages.size(), 1u);  // "Are you SURE?" alone
}

// ---- Omit fainter thans -------------------------------------------------------------------

TEST_F(Commands, OmitFainterThansNeedsAStarThenTogglesTheRowsInTheFullView) {
    // With nothing loaded only the message comes, and the check mark stays as it was.
    commands->mnuFaint_Click();
    EXPECT_FALSE(view().omitFainterChecked || state().overlay.OmitFainter);
    EXPECT_EQ(prompts.messages, (std::vector<Msg>{{"No star file is loaded.", "No Star Loaded",
                                                   Buttons::OK, Icon::Critical}}));
    prompts.messages.clear();

    LoadAndFill(WriteFile("faint.txt", {DataLine("2454123.5", "9.1", "V", "R Leo"),
                                        DataLine("2454125.5", "<12.5", "V", "R Leo"),
                                        DataLine("2454130.5", "11.2", "V", "R Leo")}));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);
    commands->ShowWindow(2454124, 2454127, 9, 13);
    commands->mnuFaint_Click();
    EXPECT_TRUE(view().omitFainterChecked && state().overlay.OmitFainter);
    EXPECT_EQ(view().starLabel, QString("R LEO - (2 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), 0);
    // The full view again, still fitted to every row, the fainter-than estimate included.
    EXPECT_EQ(state().view.JDMagnification, 1.0f);
    EXPECT_EQ(state().view.MagMagnification, 1.0f);
    EXPECT_EQ(state().view.WinMagBottom, 12.5 + 0.5);

    commands->mnuFaint_Click();
    EXPECT_FALSE(view().omitFainterChecked || state().overlay.OmitFainter);
    EXPECT_EQ(view().starLabel, QString("R LEO - (3 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);
    EXPECT_TRUE(prompts.messages.empty());
}

// ---- Navigation ---------------------------------------------------------------------------

// Equal up to the rounding of 0.66 of a width, far below a pixel.
void ExpectEdges(const Edges& got, const Edges& want) {
    EXPECT_NEAR(got.left, want.left, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.right, want.right, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.top, want.top, 1e-6) << testing::PrintToString(got);
    EXPECT_NEAR(got.bottom, want.bottom, 1e-6) << testing::PrintToString(got);
}

constexpr double kFirst = 2454000.5;
constexpr double kLast = 2455000.5;
// The full view's magnitude edges: 0.5 beyond the brightest and the faintest observation.
constexpr double kTop = 8.5;
constexpr double kBottom = 12.5;

// Five observations over 1000 days, the one of observer XYZ at day 500.
class Navigation : public Commands {
  protected:
    void SetUp() override {
        Commands::SetUp();
        LoadAndFill(WriteFile("long.txt", {DataLine("2454000.5", "9.0", "V", "R Leo"),
                                           DataLine("2454100.5", "10.0", "R", "R Leo"),
                                           DataLine("2454500.5", "11.0", "V", "R Leo", "", "XYZ"),
                                           DataLine("2454600.5", "10.2", "V", "R Leo"),
                                           DataLine("2455000.5", "12.0", "V", "R Leo")}));
        ASSERT_EQ(view().look, Look::Plot);
        ASSERT_EQ(EdgesOf(state().view), (Edges{kFirst - 5, kLast + 5, kTop, kBottom}));
    }

    void Show(const Edges& e) { commands->ShowWindow(e.left, e.right, e.top, e.bottom); }
};

TEST_F(Navigation, EachMoveShiftsAZoomedWindowByItsStepWithoutZoomingAndRedrawsIt) {
    struct Case {
        const char* name;
        Step command;
        Edges from;
        Edges want;
        QString label;
    };
    const Edges middle = {kFirst + 500, kFirst + 600, 9.5, 10.5};
    const QString one = "R LEO - (1 Points)";
    const std::vector<Case> cases = {
        {"Back stops with the first observation 0.66 of the width from the right edge",
         &MainWindowCommands::cmdBack_Click,
         {kFirst + 20, kFirst + 120, 9.5, 10.5},
         {kFirst - 34, kFirst + 66, 9.5, 10.5},
         one},
        {"Back",
         &MainWindowCommands::cmdBack_Click,
         middle,
         {kFirst + 434, kFirst + 534, 9.5, 10.5},
         one},
        {"Forward stops 5 days after the last observation",
         &MainWindowCommands::cmdForward_Click,
         {kLast - 110, kLast - 10, 9.5, 10.5},
         {kLast - 95, kLast + 5, 9.5, 10.5},
         one},
        {"Forward",
         &MainWindowCommands::cmdForward_Click,
         middle,
         {kFirst + 566, kFirst + 666, 9.5, 10.5},
         one},
        {"Beginning keeps the width",
         &MainWindowCommands::cmdBegin_Click,
         middle,
         {kFirst - 5, kFirst + 95, 9.5, 10.5},
         one},
        {"End",
         &MainWindowCommands::cmdEnder_Click,
         middle,
         {kLast - 95, kLast + 5, 9.5, 10.5},
         one},
        {"Brighter",
         &MainWindowCommands::cmdUp_Click,
         middle,
         {kFirst + 500, kFirst + 600, 9.0, 10.0},
         "R LEO - (2 Points)"},
        {"Dimmer",
         &MainWindowCommands::CmdDown_Click,
         middle,
         {kFirst + 500, kFirst + 600, 10.0, 11.0},
         "R LEO - (2 Points)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show(c.from);
        const PlotWindowState before = state().view;
        const size_t presents = host.presented.size();
        (commands.get()->*c.command)();

        const PlotWindowState& v = state().view;
        ExpectEdges(EdgesOf(v), c.want);
        EXPECT_EQ(v.WinJDWidth, before.WinJDWidth);
        EXPECT_EQ(v.WinMagHeight, before.WinMagHeight);
        EXPECT_EQ(v.JDMagnification, before.JDMagnification);
        EXPECT_EQ(v.MagMagnification, before.MagMagnification);
        // Redrawn in the new window.
        EXPECT_GT(host.presented.size(), presents);
        EXPECT_NEAR(picView.ScaleLeft(), v.WinJDLeft - kFirst, 1e-6);
        EXPECT_EQ(picView.ScaleTop(), v.WinMagTop);
        EXPECT_EQ(view().starLabel, c.label);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, MovesAlongAnAxisThatShowsAllItsDataChangeNothingAndDrawNothing) {
    const std::vector<Step> jdMoves = {
        &MainWindowCommands::cmdBack_Click, &MainWindowCommands::cmdForward_Click,
        &MainWindowCommands::cmdBegin_Click, &MainWindowCommands::cmdEnder_Click};
    const std::vector<Step> magMoves = {&MainWindowCommands::cmdUp_Click,
                                           &MainWindowCommands::CmdDown_Click};
    std::vector<Step> allMoves = jdMoves;
    allMoves.insert(allMoves.end(), magMoves.begin(), magMoves.end());
    struct Case {
        const char* name;
        std::optional<Edges> zoom;  // nothing: the full view
        std::vector<Step> moves;
    };
    const std::vector<Case> cases = {
        {"full view", std::nullopt, allMoves},
        {"JD zoom only", Edges{kFirst + 500, kFirst + 600, kTop, kBottom}, magMoves},
        {"magnitude zoom only", Edges{kFirst - 5, kLast + 5, 9.5, 10.5}, jdMoves},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.zoom)
            Show(*c.zoom);
        else
            commands->cmdReset_Click();
        // A stroke across each surface, which any redraw would wipe.
        for (Canvas* canvas : {&picView, &picJDScale, &picMagScale})
            canvas->Line(canvas->ScaleLeft(), canvas->ScaleTop(),
                         canvas->ScaleLeft() + canvas->ScaleWidth(),
                         canvas->ScaleTop() + canvas->ScaleHeight(), kBlue);
        const QImage plot = picView.image();
        const QImage jdScale = picJDScale.image();
        const QImage magScale = picMagScale.image();
        const Edges edges = EdgesOf(state().view);
        const size_t presents = host.presented.size();
        for (Step move : c.moves) {
            (commands.get()->*move)();
            EXPECT_EQ(EdgesOf(state().view), edges);
        }
        EXPECT_EQ(host.presented.size(), presents);
        EXPECT_EQ(picView.image(), plot);
        EXPECT_EQ(picJDScale.image(), jdScale);
        EXPECT_EQ(picMagScale.image(), magScale);
    }
}

TEST_F(Navigation, BrighterAndDimmerGoOnPastTheBrightestAndFaintestObservations) {
    Show({kFirst + 500, kFirst + 600, 9.5, 10.5});
    for (int i = 0; i < 30; ++i) commands->CmdDown_Click();
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst + 500, kFirst + 600, 24.5, 25.5}));
    EXPECT_EQ(picView.ScaleTop(), 24.5);
    for (int i = 0; i < 60; ++i) commands->cmdUp_Click();
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst + 500, kFirst + 600, -5.5, -4.5}));
    EXPECT_EQ(picView.ScaleTop(), -5.5);
    EXPECT_EQ(state().view.WinMagHeight, 1.0);
}

TEST_F(Navigation, RefreshTakesTheMarksAndOverlaysAwayAndKeepsTheWindow) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    MarkObserver("XYZ");
    ASSERT_EQ(ColorAt(kFirst + 500, 11.0), kBlue);
    binsShown() = polyShown() = true;
    const PlotWindowState shown = state().view;

    commands->cmdRefresh_Click();
    EXPECT_EQ(EdgesOf(state().view), EdgesOf(shown));
    EXPECT_EQ(state().view.JDMagnification, shown.JDMagnification);
    EXPECT_EQ(marks().MarkCount, 0);
    EXPECT_FALSE(marks().ObserverMarked);
    EXPECT_FALSE(binsShown() || polyShown());
    const std::optional<ObsRow> marked = table().RowById(3);
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->PunktFarb, kBandV);
    EXPECT_EQ(marked->Marked, "");
    EXPECT_EQ(ColorAt(kFirst + 500, 11.0), kBandV);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, ResetReturnsToTheFullViewAndTakesTheMarksAwayButKeepsTheTool) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    state().overlay.tool = Tool::Box;
    MarkObserver("XYZ");
    binsShown() = true;
    bins().BinJD = {kFirst + 550};

    commands->cmdReset_Click();
    EXPECT_EQ(EdgesOf(state().view), (Edges{kFirst - 5, kLast + 5, kTop, kBottom}));
    EXPECT_EQ(state().view.JDMagnification, 1.0f);
    EXPECT_EQ(state().view.MagMagnification, 1.0f);
    EXPECT_EQ(view().panels[1], QString("Magnification = 1 X"));
    EXPECT_EQ(view().cursorName, QString("XHairs"));
    EXPECT_EQ(marks().MarkCount, 0);
    EXPECT_TRUE(bins().BinJD.empty());
    EXPECT_FALSE(binsShown());
    EXPECT_EQ(state().overlay.tool, Tool::Box);
    EXPECT_EQ(table().RowById(3)->PunktFarb, kBandV);
    EXPECT_EQ(ColorAt(kFirst + 500, 11.0), kBandV);
    EXPECT_EQ(ColorAt(kFirst + 100, 10.0), kRed);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Navigation, StatsWindowSwitchedOnShowsTheFiguresOfTheViewAtOnce) {
    Show({kFirst + 450, kFirst + 650, 9.5, 11.5});
    const size_t presents = host.presented.size();
    commands->mnuStats_Click();
    EXPECT_TRUE(view().statsChecked && view().statsWindowOpen);
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 10.2   JD = 2454600.5",
                                                       "Low Mag. = 11   JD = 2454500.5"}));
    EXPECT_EQ(host.presented.size(), presents);

    // Its close box only takes the check mark away: the next redraw brings the window back
    // with the figures of the new view, still unchecked; the menu item then checks it.
    commands->frmStats_Unload();
    EXPECT_FALSE(view().statsChecked || view().statsWindowOpen);
    commands->cmdBack_Click();
    EXPECT_TRUE(view().statsWindowOpen);
    EXPECT_FALSE(view().statsChecked);
    EXPECT_EQ(view().statsLines, (std::vector<QString>{"High Mag. = 11   JD = 2454500.5",
                                                       "Low Mag. = 11   JD = 2454500.5"}));
    commands->mnuStats_Click();
    EXPECT_TRUE(view().statsChecked && view().statsWindowOpen);
    commands->mnuStats_Click();
    EXPECT_FALSE(view().statsChecked || view().statsWindowOpen || state().overlay.StatsShown);
}

TEST_F(Navigation, AFrameOfNoSizeIsReportedByScalerUnlessTheWholeWindowIsZero) {
    struct Case {
        const char* name;
        std::function<void(PlotWindowState&)> change;
        bool reported;
    };
    const std::vector<Case> cases = {
        {"no height", [](PlotWindowState& v) { v.WinMagBottom = v.WinMagTop; }, true},
        {"every edge and the JD base 0",
         [](PlotWindowState& v) {
             v.WinJDLeft = v.WinJDRight = v.WinMagTop = v.WinMagBottom = v.JDFirst = 0;
         },
         false},
        {"every edge 0 but the JD base",
         [](PlotWindowState& v) { v.WinJDLeft = v.WinJDRight = v.WinMagTop = v.WinMagBottom = 0; },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        commands->cmdReset_Click();
        prompts.messages.clear();
        c.change(state().view);
        commands->Redraw(true);
        std::vector<Msg> want;
        if (c.reported)
            want.push_back({"Error \"Invalid property value\" encountered in module Scaler.",
                            "Error", Buttons::OK, Icon::None});
        EXPECT_EQ(prompts.messages, want);
    }
}

}  // namespace
}  // namespace sabrix
